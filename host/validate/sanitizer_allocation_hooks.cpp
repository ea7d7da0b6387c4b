// Under AddressSanitizer the sanitizer owns the allocator; its hooks report every allocation and
// release, operator new and delete included.
#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstdint>

#include "call_counts.h"

namespace qevhost::validate {

namespace {

std::atomic<int64_t> gTaken{0};

void onAllocation(const volatile void*, std::size_t size) {
    countAllocation();
    gTaken.fetch_add(static_cast<int64_t>(size), std::memory_order_relaxed);
}

void onFree(const volatile void*) {
    countFree();
}

const bool gInstalled = __sanitizer_install_malloc_and_free_hooks(onAllocation, onFree) != 0;

}  // namespace

bool allocationsCounted() {
    return gInstalled;
}

HeapBytes processHeapBytes() {
    return {gTaken.load(), static_cast<int64_t>(__sanitizer_get_current_allocated_bytes())};
}

}  // namespace qevhost::validate
