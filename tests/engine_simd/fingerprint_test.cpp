// Fingerprints of the engine's results, recorded from the straightforward implementation. Every
// faster path (the scalar fast paths, the bulk draws, the vector block) must reproduce them bit
// for bit on both builds.
#include <gtest/gtest.h>

#include <vector>

#include "noise_block.h"
#include "noise_cases.h"

namespace qev::testing {
namespace {

RandomTable tableFor(int32_t seed) {
    SeededGenerator generator;
    SeedCache lastSeed;
    RandomTable table;
    table.reseed(seed, generator, lastSeed);
    return table;
}

TEST(EngineFingerprint, TablesOfManySeeds) {
    const RandomTable seed42 = tableFor(42);
    const int32_t begin[] = {7449, 7263, 452, 8544, 6007, 9707, 7850, 3909};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(seed42[i], begin[i]);
    EXPECT_EQ(seed42[9970], 9248);
    EXPECT_EQ(seed42[9971], 892);
    EXPECT_EQ(seed42[9972], 6319);

    uint64_t hash = kHashStart;
    CaseSource source(11);
    for (int n = 0; n < 40; ++n) {
        static const int32_t edges[] = {0, 1, 42, 4357, -1, INT32_MIN, INT32_MAX};
        const int32_t seed = n < 7 ? edges[n] : static_cast<int32_t>(source.bits());
        const RandomTable table = tableFor(seed);
        for (int i = 0; i < RandomTable::kSize; ++i) hashInto(hash, table[i]);
    }
    EXPECT_EQ(hash, 0x88c444deb4d7fcf8ull) << std::hex << hash;
}

TEST(EngineFingerprint, NoiseBlocks) {
    const RandomTable table = tableFor(7);
    uint64_t hash = kHashStart;
    CaseSource source(5);
    std::vector<double> values(512);
    for (int n = 0; n < 3000; ++n) {
        const NoiseCase c = source.next();
        computeNoiseBlockScalar(c.settings, table, c.first, c.count, values.data());
        for (int j = 0; j < c.count; ++j) hashInto(hash, values[j]);
    }
    EXPECT_EQ(hash, 0x1c89bca4ea3931e1ull) << std::hex << hash;
}

}  // namespace
}  // namespace qev::testing
