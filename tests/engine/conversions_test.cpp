#include "conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace qev {
namespace {

TEST(SeedFromValue, TruncatesToTheLow32BitsOf64) {
    EXPECT_EQ(seedFromValue(42.0f), 42);
    EXPECT_EQ(seedFromValue(42.7f), 42);
    EXPECT_EQ(seedFromValue(-1.0f), -1);
    EXPECT_EQ(seedFromValue(0.7f), 0);
    EXPECT_EQ(seedFromValue(-0.9f), 0);
    EXPECT_EQ(seedFromValue(3e9f), -1294967296);
    EXPECT_EQ(seedFromValue(0x1p40f), 0);
    EXPECT_EQ(seedFromValue(0x1p40f + 0x1p20f), 1 << 20);
}

TEST(SeedFromValue, UnrepresentableValuesGiveZero) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    for (float value : {1e20f, -1e20f, 0x1p63f, -0x1p63f, inf, -inf, std::nanf(""),
                        std::numeric_limits<float>::max()}) {
        EXPECT_EQ(seedFromValue(value), 0) << value;
    }
}

TEST(TruncateToInt32, TowardZeroWithDefinedEnds) {
    EXPECT_EQ(truncateToInt32(16.7), 16);
    EXPECT_EQ(truncateToInt32(-16.7), -16);
    EXPECT_EQ(truncateToInt32(-0.0), 0);
    EXPECT_EQ(truncateToInt32(std::nan("")), 0);
    EXPECT_EQ(truncateToInt32(1e10), INT32_MAX);
    EXPECT_EQ(truncateToInt32(-1e10), INT32_MIN);
    EXPECT_EQ(truncateToInt32(2147483647.5), INT32_MAX);
    EXPECT_EQ(truncateToInt32(-2147483648.9), INT32_MIN);
}

TEST(TruncateToInt32OrIndefinite, FitsOrGivesTheIndefiniteValue) {
    EXPECT_EQ(truncateToInt32OrIndefinite(1.9), 1);
    EXPECT_EQ(truncateToInt32OrIndefinite(-1.9), -1);
    EXPECT_EQ(truncateToInt32OrIndefinite(2147483647.5), INT32_MAX);
    EXPECT_EQ(truncateToInt32OrIndefinite(-2147483648.9), INT32_MIN);
    for (double value : {2147483648.0, 1e10, -2147483649.0, -1e10, std::nan(""),
                         std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(truncateToInt32OrIndefinite(value), INT32_MIN) << value;
    }
}

}  // namespace
}  // namespace qev
