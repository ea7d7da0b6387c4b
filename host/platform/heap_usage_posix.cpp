#include <malloc.h>

#include "qevplatform/heap_usage.h"

namespace qevhost::platform {

std::size_t heapBytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;  // small blocks, and the large ones mapped on their own
}

}  // namespace qevhost::platform
