// Under AddressSanitizer the sanitizer owns the allocator; its hooks report every allocation and
// release, operator new and delete included.
#include <sanitizer/allocator_interface.h>

#include "call_counts.h"

namespace qevhost::validate {

namespace {

void onAllocation(const volatile void*, std::size_t) {
    countAllocation();
}

void onFree(const volatile void*) {
    countFree();
}

const bool gInstalled = __sanitizer_install_malloc_and_free_hooks(onAllocation, onFree) != 0;

}  // namespace

bool allocationsCounted() {
    return gInstalled;
}

}  // namespace qevhost::validate
