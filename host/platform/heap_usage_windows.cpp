#include <windows.h>

#include <vector>

#include "qevplatform/heap_usage.h"

namespace qevhost::platform {

namespace {

std::size_t busyBytes(HANDLE heap) {
    std::size_t bytes = 0;
    if (!HeapLock(heap)) return 0;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    }
    HeapUnlock(heap);
    return bytes;
}

}  // namespace

std::size_t heapBytesInUse() {
    // The C runtime, the loader and the system libraries each may keep a heap of their own.
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    heaps.resize(count < heaps.size() ? count : heaps.size());
    std::size_t bytes = 0;
    for (HANDLE heap : heaps) bytes += busyBytes(heap);
    return bytes;
}

}  // namespace qevhost::platform
