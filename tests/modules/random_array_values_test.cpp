// Arrays Qev RandomArray writes: worked examples from table entries, the integer rounding,
// sizes, the wrapped offset and the seed conversions.
#include <cmath>
#include <limits>

#include "module_test_support.h"

namespace qevtest {
namespace {

using qevhost::Module;

// A started module (Automatic Update) after one press of "Calculate Array".
std::unique_ptr<Module> computed(const std::vector<Setting>& settings) {
    auto module = startedModule(randomArrayPlugin(), settings);
    module->callBack(arr::Calculate);
    EXPECT_TRUE(module->hostErrors().empty());
    return module;
}

float tableValue(int32_t seed, int32_t cell) {
    return static_cast<float>(tableFor(seed)[cell % 9971] / 9973.0);
}

std::vector<float> floatsWithSeed(float seed) {
    return computed({{arr::Seed, seed},
                     {arr::Octaves, 3.5f},
                     {arr::Fade, 0.6f},
                     {arr::Scale, 0.37f},
                     {arr::Offset, -20.0f},
                     {arr::Size, 64.0f}})
        ->array(arr::FloatOut);
}

TEST(RandomArrayValues, DefaultsReadConsecutiveTableEntries) {
    auto module = computed({});
    const auto& floats = module->array(arr::FloatOut);
    const auto& integers = module->array(arr::IntegerOut);
    ASSERT_EQ(floats.size(), 16u);
    ASSERT_EQ(integers.size(), 16u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(sameBits(floats[i], tableValue(42, 7449 + i))) << "element " << i;
        EXPECT_EQ(integers[i], std::round(floats[i])) << "element " << i;
    }
    const double sixPlaces[] = {0.420836, 0.079916, 0.202747, 0.113005,
                                0.154718, 0.915873, 0.192720, 0.560213};
    const float wholes[] = {0, 0, 0, 0, 0, 1, 0, 1};
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(floats[i], sixPlaces[i], 5e-7) << "element " << i;
        EXPECT_EQ(integers[i], wholes[i]) << "element " << i;
    }
}

TEST(RandomArrayValues, OffsetCountsBeforeAndAfterScaling) {
    // Base 2.5 + (i + 2.5) * 0.25 = 3.125 + 0.25 i: elements 0 to 3 share cell 7452.
    auto module = computed({{arr::Offset, 2.5f}, {arr::Scale, 0.25f}});
    const auto& floats = module->array(arr::FloatOut);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(sameBits(floats[i], tableValue(42, 7452)));
    EXPECT_NEAR(floats[0], 0.113005, 5e-7);
    EXPECT_TRUE(sameBits(floats[4], tableValue(42, 7453)));
}

TEST(RandomArrayValues, SeedSevenWorkedExample) {
    auto module = computed({{arr::Seed, 7.0f},
                            {arr::Offset, -1.25f},
                            {arr::Scale, 0.37f},
                            {arr::Octaves, 3.0f},
                            {arr::Fade, 0.4f},
                            {arr::Bias, 0.3f},
                            {arr::Gain, 0.7f},
                            {arr::OutputMin, -10.0f},
                            {arr::OutputMax, 10.0f},
                            {arr::Size, 8.0f}});
    const double sixPlaces[] = {-6.544395, -7.261776, -6.534054, -9.187668,
                                -8.557047, -3.239003, 2.642361,  2.928494};
    // The same floats as bit patterns, so both builds must agree to the last bit.
    const uint32_t bits[] = {0xc0d16baf, 0xc0e86079, 0xc0d116f9, 0xc11300b0,
                             0xc108e9aa, 0xc04f4bd3, 0x40291c72, 0x403b6c71};
    const float wholes[] = {-7, -7, -7, -9, -9, -3, 3, 3};
    const auto& floats = module->array(arr::FloatOut);
    const auto& integers = module->array(arr::IntegerOut);
    ASSERT_EQ(floats.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(floats[i], sixPlaces[i], 5e-7) << "element " << i;
        EXPECT_TRUE(sameBits(floats[i], floatFromBits(bits[i]))) << "element " << i;
        EXPECT_EQ(integers[i], wholes[i]) << "element " << i;
    }
}

TEST(RandomArrayValues, IntegersRoundHalvesAwayFromZero) {
    struct Case {
        float outputMin, outputMax;  // with no octaves every element is their midpoint
        float expectedFloat, expectedInteger;
        float noiseMax = 1.0f;
    };
    // With Noise Min -1 and Noise Max 0.095703125 every element is Output Max / 1.095703125
    // (Output Min 0): for 0.5478515625 that is 0.49999999999999994, the largest double below one
    // half, which rounds to 0 (a float 0.5 in "Float Out").
    const float belowHalf = 0.5478515625f, window = 0.095703125f;
    const Case cases[] = {
        {0.0f, 1.0f, 0.5f, 1.0f},
        {0.0f, 5.0f, 2.5f, 3.0f},
        {-5.0f, 0.0f, -2.5f, -3.0f},
        {0.0f, 0.98f, 0.49f, 0.0f},
        {-1.0f, 1.0f, 0.0f, -0.0f},
        {-0.6f, 0.0f, -0.3f, -0.0f},
        {-3.0f, 0.0f, -1.5f, -2.0f},
        {0.0f, belowHalf, 0.5f, 0.0f, window},
        {0.0f, -belowHalf, -0.5f, -0.0f, window},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "output range " << c.outputMin << " to " << c.outputMax);
        // Six elements: four through a vector path where there is one, two after it.
        auto module = computed({{arr::Octaves, 0.0f},
                                {arr::NoiseMax, c.noiseMax},
                                {arr::OutputMin, c.outputMin},
                                {arr::OutputMax, c.outputMax},
                                {arr::Size, 6.0f}});
        for (int i = 0; i < 6; ++i) {
            EXPECT_TRUE(sameBits(module->array(arr::FloatOut)[i], c.expectedFloat));
            EXPECT_TRUE(sameBits(module->array(arr::IntegerOut)[i], c.expectedInteger)) << i;
        }
    }
}

TEST(RandomArrayValues, ArraySizesTruncateAndBoundTheElements) {
    // One element, at base w + w * Scale = 6.
    auto one = computed({{arr::Size, 1.0f}, {arr::Offset, 3.0f}});
    ASSERT_EQ(one->array(arr::FloatOut).size(), 1u);
    EXPECT_TRUE(sameBits(one->array(arr::FloatOut)[0], tableValue(42, 7455)));

    auto full = computed({{arr::Size, 2048.0f}});
    ASSERT_EQ(full->array(arr::FloatOut).size(), 2048u);
    ASSERT_EQ(full->array(arr::IntegerOut).size(), 2048u);
    for (int i = 0; i < 2048; ++i) {
        ASSERT_TRUE(sameBits(full->array(arr::FloatOut)[i], tableValue(42, 7449 + i)))
            << "element " << i;
    }

    auto truncated = computed({{arr::Size, 16.7f}});
    EXPECT_EQ(truncated->arrayLength(arr::FloatOut), 16);
    EXPECT_EQ(truncated->arrayLength(arr::IntegerOut), 16);
}

TEST(RandomArrayValues, OffsetWrapsKeepingItsSign) {
    EXPECT_EQ(computed({{arr::Offset, 997300.0f}})->array(arr::FloatOut),
              computed({})->array(arr::FloatOut));

    // w = -10: base i - 20.
    auto module = computed({{arr::Offset, -10.0f}});
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(sameBits(module->array(arr::FloatOut)[i], tableValue(42, 7429 + i)));
    }
}

TEST(RandomArrayValues, TopOfAWideRangeDoesNotCancelToZero) {
    // t = 1 (no octaves, window [-1, 0]): (max - min) * 1 + min loses max entirely in rounding.
    auto module = computed({{arr::Octaves, 0.0f},
                            {arr::NoiseMax, 0.0f},
                            {arr::OutputMin, -3.4e38f},
                            {arr::OutputMax, -354.0f},
                            {arr::Size, 2.0f}});
    EXPECT_EQ(module->array(arr::FloatOut), std::vector<float>(2, -354.0f));
    EXPECT_EQ(module->array(arr::IntegerOut), std::vector<float>(2, -354.0f));
}

TEST(RandomArrayValues, SeedConversions) {
    const auto withDefault = floatsWithSeed(4357.0f);
    ASSERT_NE(withDefault, floatsWithSeed(42.0f));
    for (float seed : {0.0f, 0.7f, -0.9f, 1e20f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(floatsWithSeed(seed), withDefault) << "seed " << seed;
    }
    EXPECT_EQ(floatsWithSeed(3e9f), floatsWithSeed(-1294967296.0f));
    EXPECT_EQ(floatsWithSeed(42.7f), floatsWithSeed(42.0f));
}

TEST(RandomArrayValues, ElementsStayWithinTheRangeForExtremeFiniteSettings) {
    const float big = std::numeric_limits<float>::max();
    for (float offset : {-996000.5f, 0.0f, 1e30f, -big}) {
        for (float scale : {2e-8f, 3.3f, 1e7f, big}) {
            SCOPED_TRACE(testing::Message() << "offset " << offset << " scale " << scale);
            auto module = computed({{arr::Offset, offset},
                                    {arr::Scale, scale},
                                    {arr::Octaves, 16.0f},
                                    {arr::Fade, 1.0f},
                                    {arr::Bias, 0.00002f},
                                    {arr::Gain, 0.99998f},
                                    {arr::OutputMin, 4.0f},
                                    {arr::OutputMax, -2.0f},
                                    {arr::Size, 40.0f}});
            for (float value : module->array(arr::FloatOut)) {
                EXPECT_TRUE(value >= -2.0f && value <= 4.0f) << value;
            }
        }
    }
}

}  // namespace
}  // namespace qevtest
