#include "allocation_counter.h"

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
std::atomic<long> allocatedBytes{0};

void count(std::size_t bytes) {
    if (!counting.load(std::memory_order_relaxed)) return;
    allocations.fetch_add(1, std::memory_order_relaxed);
    allocatedBytes.fetch_add(static_cast<long>(bytes), std::memory_order_relaxed);
}
}  // namespace

// Exported from the program (it is linked with its symbols exported), so every library's calls
// resolve here first.
extern "C" {
void* malloc(std::size_t size) {
    count(size);
    return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) {
    count(n * size);
    return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) {
    count(size);
    return __libc_realloc(p, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    count(size);
    return __libc_memalign(alignment, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
    count(size);
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    count(size);
    void* p = __libc_memalign(alignment, size);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}
}

namespace qev::bench {

long countedAllocations() {
    return allocations.load();
}

long countedBytes() {
    return allocatedBytes.load();
}

CountAllocations::CountAllocations() {
    counting.store(true);
}

CountAllocations::~CountAllocations() {
    counting.store(false);
}

}  // namespace qev::bench
