// Counts heap allocations made while counting is switched on. The benchmark program defines
// malloc and its relatives itself, so a plug-in's allocations (its own operator new included)
// land here too.
#pragma once

namespace qev::bench {

// Allocations counted so far.
long countedAllocations();
// Bytes those allocations asked for.
long countedBytes();

// Counts allocations on every thread while alive.
class CountAllocations {
  public:
    CountAllocations();
    ~CountAllocations();
    CountAllocations(const CountAllocations&) = delete;
    CountAllocations& operator=(const CountAllocations&) = delete;
};

}  // namespace qev::bench
