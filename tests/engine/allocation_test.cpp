// The engine runs on the host's audio thread: reseeding and sampling must not touch the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "noise_block.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Not inlined: a caller that saw free() under a delete of new's pointer would warn of a mismatch.
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace qev {
namespace {

TEST(Engine, AllocatesNothing) {
    static SeededGenerator generator;
    static SeedCache lastSeed;
    static RandomTable table;
    NoiseBlockSettings settings;
    settings.octaves = {16.0, 0.5, 0.3, 0.7};
    double values[64];
    const long before = allocations.load();
    table.reseed(42, generator, lastSeed);
    table.reseed(7, generator, lastSeed);
    double sum = 0;
    for (int i = 0; i < 100; ++i) sum += sumOctaves(i * 0.37, settings.octaves, table);
    computeNoiseBlock(settings, table, 0, 64, values);
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_TRUE(sum == sum);
}

}  // namespace
}  // namespace qev
