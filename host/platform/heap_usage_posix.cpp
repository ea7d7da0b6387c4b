#include <malloc.h>

#include "qevplatform/heap_usage.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEV_SANITIZER_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QEV_SANITIZER_HEAP 1
#endif
#ifdef QEV_SANITIZER_HEAP
#include <sanitizer/allocator_interface.h>
#endif

namespace qevhost::platform {

std::size_t heapBytesInUse() {
#ifdef QEV_SANITIZER_HEAP
    // The sanitizer's allocator serves every allocation; the C library's heap stays unused.
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // small blocks, and the large ones mapped on their own
#endif
}

}  // namespace qevhost::platform
