// The allocator as the host process sees it: every entry point counts module calls and hands
// over to the C library's own allocator. A plug-in's operator new and delete, whether from its
// own copy of the C++ runtime or the shared one, end up here. The bytes each block really holds
// are summed for the whole process, which is how the load check sees memory kept after unload.
#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

#include "call_counts.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace qevhost::validate {

namespace {

// Constant-initialised, so they count from the first allocation the process makes.
std::atomic<int64_t> gTaken{0};
std::atomic<int64_t> gHeld{0};

void* taken(void* pointer) {
    if (pointer != nullptr) {
        const auto bytes = static_cast<int64_t>(malloc_usable_size(pointer));
        gTaken.fetch_add(bytes, std::memory_order_relaxed);
        gHeld.fetch_add(bytes, std::memory_order_relaxed);
    }
    return pointer;
}

void returnedBytes(std::size_t bytes) {
    gHeld.fetch_sub(static_cast<int64_t>(bytes), std::memory_order_relaxed);
}

void returned(void* pointer) {
    if (pointer != nullptr) returnedBytes(malloc_usable_size(pointer));
}

}  // namespace

// The interposers live in this file; linking it brings them into the executable.
bool allocationsCounted() {
    return true;
}

HeapBytes processHeapBytes() {
    return {gTaken.load(), gHeld.load()};
}

}  // namespace qevhost::validate

using qevhost::validate::countAllocation;
using qevhost::validate::countFree;
using qevhost::validate::returned;
using qevhost::validate::returnedBytes;
using qevhost::validate::taken;

extern "C" void* malloc(std::size_t size) {
    countAllocation();
    return taken(__libc_malloc(size));
}

extern "C" void* calloc(std::size_t count, std::size_t size) {
    countAllocation();
    return taken(__libc_calloc(count, size));
}

extern "C" void* realloc(void* pointer, std::size_t size) {
    countAllocation();
    const std::size_t before = pointer != nullptr ? malloc_usable_size(pointer) : 0;
    void* moved = __libc_realloc(pointer, size);
    // A failed realloc keeps the old block; realloc(p, 0) frees it and answers null.
    if (moved != nullptr || size == 0) returnedBytes(before);
    return taken(moved);
}

extern "C" void free(void* pointer) {
    if (pointer != nullptr) countFree();
    returned(pointer);
    __libc_free(pointer);
}

extern "C" void* memalign(std::size_t alignment, std::size_t size) {
    countAllocation();
    return taken(__libc_memalign(alignment, size));
}

extern "C" void* aligned_alloc(std::size_t alignment, std::size_t size) {
    countAllocation();
    return taken(__libc_memalign(alignment, size));
}

extern "C" int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    countAllocation();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* pointer = taken(__libc_memalign(alignment, size));
    if (pointer == nullptr) return ENOMEM;
    *out = pointer;
    return 0;
}
