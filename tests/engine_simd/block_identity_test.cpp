// The AVX2 block, the AVX-512 block and the block the engine dispatches to, against the scalar
// block: the same bits for every element (any NaN matching any NaN), on random and extreme
// settings. Where the engine does not run a path's kernels its tests report a skip
// (vector_paths.h).
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "cpu_check.h"
#include "noise_block.h"
#include "noise_block_avx2.h"
#include "noise_cases.h"
#include "vector_paths.h"

namespace qev::testing {
namespace {

using BlockFunction = void (*)(const NoiseBlockSettings&, const RandomTable&, int32_t, int32_t,
                               double*);

RandomTable tableFor(int32_t seed) {
    SeededGenerator generator;
    SeedCache lastSeed;
    RandomTable table;
    table.reseed(seed, generator, lastSeed);
    return table;
}

// Compares one case; reports the first differing element.
::testing::AssertionResult sameBits(BlockFunction candidate, const NoiseCase& c,
                                    const RandomTable& table) {
    std::vector<double> expected(c.count, -1.0);
    std::vector<double> actual(c.count + 1, -1.0);
    computeNoiseBlockScalar(c.settings, table, c.first, c.count, expected.data());
    candidate(c.settings, table, c.first, c.count, actual.data());
    if (bitsOf(actual[c.count]) != bitsOf(-1.0))
        return ::testing::AssertionFailure() << "wrote past the block";
    for (int32_t j = 0; j < c.count; ++j) {
        if (canonicalBits(actual[j]) != canonicalBits(expected[j])) {
            const NoiseBlockSettings& s = c.settings;
            return ::testing::AssertionFailure()
                   << std::hexfloat << "element " << c.first + j << ": " << actual[j] << " vs "
                   << expected[j] << "; octaves " << s.octaves.octaves << " fade "
                   << s.octaves.fadeWindow << " bias " << s.octaves.bias << " gain "
                   << s.octaves.gain << " offset " << s.wrappedOffset << " scale " << s.scale
                   << " window " << s.noiseMin << ".." << s.noiseMax << " output " << s.outputMin
                   << "+" << s.outputRange;
        }
    }
    return ::testing::AssertionSuccess();
}

// A block path and the kernels it runs; the dispatched one takes a vector path where AVX2 runs.
struct BlockPath {
    const char* name;
    BlockFunction block;
    Kernels kernels;
};

constexpr BlockPath kPaths[] = {{"Avx2", &computeNoiseBlockAvx2, Kernels::Avx2},
                                {"Avx512", &computeNoiseBlockAvx512, Kernels::Avx512},
                                {"Dispatched", &computeNoiseBlock, Kernels::Avx2}};

void PrintTo(const BlockPath& path, std::ostream* out) {
    *out << path.name;
}

class NoiseBlockIdentity : public ::testing::TestWithParam<BlockPath> {};

INSTANTIATE_TEST_SUITE_P(Paths, NoiseBlockIdentity, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(NoiseBlockIdentity, RandomAndExtremeSettings) {
    QEV_NEED_KERNELS(GetParam().kernels);
    const BlockFunction candidate = GetParam().block;
    const RandomTable tables[] = {tableFor(42), tableFor(7), tableFor(-123456)};
    CaseSource source(77);
    for (int n = 0; n < 2500; ++n) {
        const NoiseCase c = source.next();
        ASSERT_TRUE(sameBits(candidate, c, tables[n % 3])) << "case " << n;
    }
}

// Every octave count, whole and fractional, with every fade the modules can set.
TEST_P(NoiseBlockIdentity, EveryOctaveCountAndFade) {
    QEV_NEED_KERNELS(GetParam().kernels);
    const BlockFunction candidate = GetParam().block;
    const RandomTable table = tableFor(42);
    for (int step = 0; step <= 16 * 4; ++step) {
        for (double fade : {0.0, 0.25, 0.5, 0.1}) {
            for (double shape : {0.5, 0.3, 0.00002, 0.99998}) {
                NoiseCase c;
                c.settings.octaves = {step * 0.25, fade, shape, 1.0 - shape};
                c.settings.wrappedOffset = -1.25;
                c.settings.scale = 0.37;
                c.first = 0;
                c.count = 37;
                ASSERT_TRUE(sameBits(candidate, c, table)) << step;
            }
        }
    }
}

// Positions on cell edges, at the ends of the fade zones, at multiples of the cell modulus and
// around the 32-bit limit of cell numbers, where the vector path changes method.
TEST_P(NoiseBlockIdentity, CellEdgesAndLimits) {
    QEV_NEED_KERNELS(GetParam().kernels);
    const BlockFunction candidate = GetParam().block;
    const RandomTable table = tableFor(42);
    const double limit = 0x1p31;
    const double offsets[] = {
        0.0,           -7449.0,          9971.0 - 7449.0,    -9973.0 - 7449.0,   limit - 7449,
        -limit - 7449, limit - 7449 - 2, limit / 256 - 6007, -limit / 256 - 6007};
    for (double offset : offsets) {
        for (double scale : {1.0, 0.25, 0.125, 0.5, 0.0, 9971.0, -1.0, 2e-8}) {
            for (double fade : {0.0, 0.25, 0.5, 0.75}) {
                for (double octaves : {1.0, 4.0, 16.0, 15.5}) {
                    NoiseCase c;
                    c.settings.octaves = {octaves, fade, 0.3, 0.7};
                    c.settings.wrappedOffset = offset;
                    c.settings.scale = scale;
                    c.first = -3;
                    c.count = 16;
                    ASSERT_TRUE(sameBits(candidate, c, table)) << offset << " " << scale;
                }
            }
        }
    }
}

// The per-seed tables the kernels read instead of dividing whole entries by 9973, and the
// padded entries whose 32-bit reads hold two neighbours.
TEST(NoiseBlockTables, PerSeedTablesMatchTheArithmetic) {
    volatile double divisor = RandomTable::kScale;  // run-time arithmetic, not folded
    for (int32_t seed : {42, -123456}) {
        const RandomTable table = tableFor(seed);
        for (int i = 0; i < RandomTable::kSize; ++i) {
            const double sample = table[i] / divisor;
            ASSERT_EQ(bitsOf(table.scaledSamples()[i]), bitsOf((sample - 0.5) * 2.0)) << i;
        }
        for (int i = 0; i < RandomTable::kCellModulus; ++i) {
            const int32_t previous = table[i > 0 ? i - 1 : RandomTable::kEntryBeforeFirst];
            const int32_t from[2] = {previous, table[i]};
            const int32_t to[2] = {table[i], table[i + 1]};
            for (int side = 0; side < 2; ++side) {
                uint32_t pair;
                std::memcpy(&pair, table.paddedEntries() + i + side, sizeof pair);
                ASSERT_EQ(static_cast<int32_t>(pair & 0xFFFF), from[side]) << i;
                ASSERT_EQ(static_cast<int32_t>(pair >> 16), to[side]) << i;
            }
        }
    }
}

// Every multiple of 9971 that a 32-bit cell number holds, where the vector remainder is closest
// to going wrong: one octave at scale 9971 and offset -table[0] puts element i on cell
// (i - table[0]) * 9971.
TEST_P(NoiseBlockIdentity, EveryMultipleOfTheCellModulus) {
    QEV_NEED_KERNELS(GetParam().kernels);
    const BlockFunction candidate = GetParam().block;
    const RandomTable table = tableFor(42);
    const int32_t reach = static_cast<int32_t>(0x1p31 / 9971);
    for (int32_t first = -reach; first <= reach; first += 2048) {
        NoiseCase c;
        c.settings.octaves = {1.0, 0.25, 0.5, 0.5};
        c.settings.wrappedOffset = -table[0];
        c.settings.scale = 9971.0;
        c.first = first + table[0];
        c.count = 2048;
        ASSERT_TRUE(sameBits(candidate, c, table)) << first;
    }
}

}  // namespace
}  // namespace qev::testing
