// The allocator as the host process sees it: every entry point counts module calls and hands
// over to the C library's own allocator. A plug-in's operator new and delete, whether from its
// own copy of the C++ runtime or the shared one, end up here.
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

// The interposers live in this file; linking it brings them into the executable.
bool allocationsCounted() {
    return true;
}

}  // namespace qevhost::validate

using qevhost::validate::countAllocation;
using qevhost::validate::countFree;

extern "C" void* malloc(std::size_t size) {
    countAllocation();
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size) {
    countAllocation();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, std::size_t size) {
    countAllocation();
    return __libc_realloc(pointer, size);
}

extern "C" void free(void* pointer) {
    if (pointer != nullptr) countFree();
    __libc_free(pointer);
}

extern "C" void* memalign(std::size_t alignment, std::size_t size) {
    countAllocation();
    return __libc_memalign(alignment, size);
}

extern "C" void* aligned_alloc(std::size_t alignment, std::size_t size) {
    countAllocation();
    return __libc_memalign(alignment, size);
}

extern "C" int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    countAllocation();
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) return ENOMEM;
    *out = pointer;
    return 0;
}
