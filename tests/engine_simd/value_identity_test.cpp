// The octave sum of one value, four octaves at a time with AVX2, against the scalar sum that
// takes one octave after the other: the same bits (any NaN matching any NaN). Where the engine
// does not take its AVX2 paths the vector tests report a skip (vector_paths.h).
#include <gtest/gtest.h>

#include <limits>

#include "cpu_check.h"
#include "noise.h"
#include "noise_cases.h"
#include "vector_paths.h"

namespace qev::testing {
namespace {

RandomTable tableFor(int32_t seed) {
    SeededGenerator generator;
    SeedCache lastSeed;
    RandomTable table;
    table.reseed(seed, generator, lastSeed);
    return table;
}

double scalarSum(double base, const OctaveSettings& settings, const RandomTable& table) {
    return sumOctaves(base, OctavePlan(settings), table);
}

::testing::AssertionResult sameSum(double base, const OctaveSettings& s, const RandomTable& table) {
    const double expected = scalarSum(base, s, table);
    const double dispatched = sumOctaves(base, s, table);
    const double vector = sumOctavesAvx2(base, s, table);
    if (canonicalBits(dispatched) == canonicalBits(expected) &&
        canonicalBits(vector) == canonicalBits(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << std::hexfloat << "base " << base << ": " << vector << " / " << dispatched << " vs "
           << expected << "; octaves " << s.octaves << " fade " << s.fadeWindow << " bias "
           << s.bias << " gain " << s.gain;
}

TEST(OneValueIdentity, RandomAndExtremeSettings) {
    QEV_NEED_VECTOR_PATHS();
    const RandomTable tables[] = {tableFor(42), tableFor(1), tableFor(-99)};
    CaseSource source(31);
    for (int n = 0; n < 20000; ++n) {
        const NoiseCase c = source.next();
        // The element positions of a block, as bases for single values.
        const double base =
            c.settings.wrappedOffset + (c.first + c.settings.wrappedOffset) * c.settings.scale;
        ASSERT_TRUE(sameSum(base, c.settings.octaves, tables[n % 3])) << "case " << n;
    }
}

// The sum that keeps its plan between calls: settings that change or stay, and a second table,
// never leave it with a stale plan.
TEST(OneValueIdentity, KeptPlanFollowsEveryChange) {
    const RandomTable tables[] = {tableFor(42), tableFor(-99)};
    CaseSource source(13);
    OctaveSum octaveSum;
    NoiseCase c = source.next();
    for (int n = 0; n < 20000; ++n) {
        if (source.below(3) == 0) c = source.next();  // else the same settings again
        const double base =
            c.settings.wrappedOffset + (static_cast<double>(c.first) + n) * c.settings.scale;
        const RandomTable& table = tables[source.below(8) == 0 ? 1 : 0];
        const double expected = scalarSum(base, c.settings.octaves, table);
        ASSERT_EQ(canonicalBits(octaveSum(base, c.settings.octaves, table)),
                  canonicalBits(expected))
            << "case " << n;
    }
}

TEST(OneValueIdentity, EveryOctaveCountOnCellEdges) {
    QEV_NEED_VECTOR_PATHS();
    const RandomTable table = tableFor(42);
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double bases[] = {0.0,  -0.0,     0.5,          -7449.0,          -7449.0 + 0.125,
                            2.25, -6007.75, 0x1p31,       -0x1p31,          1e300,
                            inf,  -inf,     std::nan(""), 8388608.5 / 256.0};
    for (int step = 0; step <= 16 * 8; ++step) {
        for (double fade : {0.0, 0.25, 0.5, 0.125, 0.75}) {
            for (double base : bases) {
                const OctaveSettings settings{step * 0.125, fade, 0.3, 0.7};
                ASSERT_TRUE(sameSum(base, settings, table)) << step;
            }
        }
    }
}

}  // namespace
}  // namespace qev::testing
