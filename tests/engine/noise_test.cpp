#include "noise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "seeded_engine.h"

namespace qev {
namespace {

using Engine = test::SeededEngine;

const RandomTable& seed42() {
    static const Engine engine(42);
    return engine.table;
}

double output(double sum) {
    return mapOutputRange(normaliseNoise(sum, -1.0, 1.0), 0.0, 1.0);
}

TEST(SumOctaves, WorkedValues) {
    const RandomTable& table = seed42();
    EXPECT_EQ(sumOctaves(123.4, {0.0, 0.25, 0.3, 0.7}, table), 0.0);

    const double one = sumOctaves(0.5, {1.0, 0.0, 0.5, 0.5}, table);
    EXPECT_EQ(one, (table[7449] / 9973.0 - 0.5) * 2.0);
    EXPECT_NEAR(one, -0.158327, 5e-7);
    EXPECT_NEAR(output(one), 0.420836, 5e-7);

    const double twoAndHalf = sumOctaves(0.25, {2.5, 0.25, 0.5, 0.5}, table);
    EXPECT_NEAR(twoAndHalf, -0.286827, 5e-7);
    EXPECT_NEAR(output(twoAndHalf), 0.356586, 5e-7);

    const double four = sumOctaves(10.3, {4.0, 0.5, 0.3, 0.7}, table);
    EXPECT_NEAR(four, 0.411597, 5e-7);
    EXPECT_NEAR(output(four), 0.705799, 5e-7);
}

TEST(SumOctaves, FractionalOctaveComesFirstWithItsWeight) {
    const RandomTable& table = seed42();
    // Octave 3 at (entry 0 + base) * 9, weighted by 1/9 and by the fraction 0.5.
    const double sample = table.sampleCell((7449 + 0.25) * 9.0, 0.5, 0.5, 0.25);
    EXPECT_NEAR(sample, 0.618871, 5e-7);
    const double fractional = (((sample - 0.5) * 2.0) / 9.0) * 0.5;
    EXPECT_NEAR(fractional, 0.013208, 5e-7);
    const double two = table.sampleCell((7449 + 0.25) * 4.0, 0.5, 0.5, 0.25);
    const double one = table.sampleCell(7449 + 0.25, 0.5, 0.5, 0.25);
    const double expected = (fractional + ((two - 0.5) * 2.0) / 4.0) + ((one - 0.5) * 2.0) / 1.0;
    EXPECT_EQ(sumOctaves(0.25, {2.5, 0.25, 0.5, 0.5}, table), expected);
}

TEST(SumOctaves, OctavesOutsideTheRangeAreClamped) {
    const RandomTable& table = seed42();
    const OctaveSettings sixteen{16.0, 0.3, 0.3, 0.7};
    const double atSixteen = sumOctaves(77.7, sixteen, table);
    for (double octaves : {17.0, 1e9, std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(sumOctaves(77.7, {octaves, 0.3, 0.3, 0.7}, table), atSixteen) << octaves;
    }
    for (double octaves : {-3.0, -0.5, std::nan(""), -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(sumOctaves(77.7, {octaves, 0.3, 0.3, 0.7}, table), 0.0) << octaves;
    }
    EXPECT_LT(std::fabs(atSixteen), 1.5844);
}

TEST(SumOctaves, LargeAndNonFiniteBasesStayBounded) {
    const RandomTable& table = seed42();
    for (double base :
         {1e15, -1e15, 1e38, -1e300, std::nan(""), std::numeric_limits<double>::infinity()}) {
        const double sum = sumOctaves(base, {16.0, 0.5, 0.3, 0.7}, table);
        EXPECT_TRUE(std::isfinite(sum)) << base;
        EXPECT_LT(std::fabs(sum), 1.5844) << base;
    }
}

TEST(NormaliseNoise, WindowEdgesSwapAndNaN) {
    EXPECT_EQ(normaliseNoise(1.0, -1.0, 1.0), 1.0);
    EXPECT_EQ(normaliseNoise(-1.0, -1.0, 1.0), 0.0);
    EXPECT_EQ(normaliseNoise(0.0, -1.0, 1.0), 0.5);
    EXPECT_EQ(normaliseNoise(0.2, 0.5, -0.5), normaliseNoise(0.2, -0.5, 0.5));
    EXPECT_EQ(normaliseNoise(0.29, 0.3, 0.3), 0.0);
    EXPECT_EQ(normaliseNoise(0.3, 0.3, 0.3), 1.0);
    EXPECT_TRUE(std::isnan(normaliseNoise(std::nan(""), -1.0, 1.0)));
}

TEST(MapOutputRange, RisingAndFalling) {
    EXPECT_EQ(mapOutputRange(0.25, -10.0, 10.0), -5.0);
    EXPECT_EQ(mapOutputRange(0.25, 1.0, 0.0), 0.75);
}

uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A fingerprint of many sums, recorded once; the 32-bit and 64-bit builds must both reproduce
// it. x87 arithmetic (excess precision) or a contracted multiply-add changes it.
TEST(SumOctaves, SameBitsOnEveryBuild) {
    const Engine engine(7);
    uint64_t hash = 1469598103934665603ull;
    const double bases[] = {-1e15,  -12345.678, -0.3,         0,    0.25, 3.999,
                            1234.5, 9970.9,     2147483647.5, 1e12, 1e300};
    const double octaves[] = {0, 0.5, 1, 2.5, 3, 7.25, 16};
    const double fades[] = {0, 0.2, 0.5};
    const double shapes[][2] = {{0.5, 0.5}, {0.3, 0.7}, {0.00002, 0.99998}, {0.99998, 0.00002}};
    for (double base : bases)
        for (double octave : octaves)
            for (double fade : fades)
                for (const auto& shape : shapes) {
                    const uint64_t bits =
                        bitsOf(sumOctaves(base, {octave, fade, shape[0], shape[1]}, engine.table));
                    for (int i = 0; i < 8; ++i) {
                        hash ^= (bits >> (8 * i)) & 255u;
                        hash *= 1099511628211ull;
                    }
                }
    EXPECT_EQ(hash, 0x58ea21b3b8d66694ull);
}

}  // namespace
}  // namespace qev
