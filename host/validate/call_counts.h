// Heap and lock calls made by module code: the host interposes the allocator and the mutex lock
// (on Windows: the plug-in's imports of the allocation, heap and lock functions) and counts the
// calls made while moduleCodeRunning() is true on the calling thread (a host
// service running inside a module call does not count).
#pragma once

#include <cstdint>

namespace qevhost::validate {

struct CallCounts {
    uint32_t allocations = 0;  // malloc, calloc, realloc, aligned allocations (new reaches these)
    uint32_t frees = 0;
    uint32_t locks = 0;  // pthread_mutex_lock and _trylock; on Windows critical sections, SRW
                         // locks and waits
};

// Totals so far, over all threads.
CallCounts moduleCallCounts();
CallCounts operator-(const CallCounts& a, const CallCounts& b);
bool any(const CallCounts& counts);

// Called by the interposers.
void countAllocation();
void countFree();
void countLock();

// Heap bytes of the whole process as the allocator interposers see them: every thread, any code.
// `taken` only grows; `held` is what has not been given back.
struct HeapBytes {
    int64_t taken = 0;
    int64_t held = 0;
};
HeapBytes processHeapBytes();

// False where this build cannot see allocations or lock calls.
bool allocationsCounted();
bool locksCounted();

// One allocation, one free and one lock by the route a plug-in's calls take to the counters;
// counted when called inside a module call.
void makeCountedCalls();

}  // namespace qevhost::validate
