#include "call_counts.h"

#include <atomic>

#include "qevhost/call_scope.h"

namespace qevhost::validate {

namespace {

std::atomic<uint32_t> gAllocations{0};
std::atomic<uint32_t> gFrees{0};
std::atomic<uint32_t> gLocks{0};

}  // namespace

CallCounts moduleCallCounts() {
    return {gAllocations.load(), gFrees.load(), gLocks.load()};
}

CallCounts operator-(const CallCounts& a, const CallCounts& b) {
    return {a.allocations - b.allocations, a.frees - b.frees, a.locks - b.locks};
}

bool any(const CallCounts& counts) {
    return counts.allocations != 0 || counts.frees != 0 || counts.locks != 0;
}

void countAllocation() {
    if (moduleCodeRunning()) gAllocations.fetch_add(1, std::memory_order_relaxed);
}

void countFree() {
    if (moduleCodeRunning()) gFrees.fetch_add(1, std::memory_order_relaxed);
}

void countLock() {
    if (moduleCodeRunning()) gLocks.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace qevhost::validate
