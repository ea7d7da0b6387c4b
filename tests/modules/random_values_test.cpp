// Values Qev Random writes to "Output": worked examples derived from table entries, the noise
// window, the output mapping, and the seed conversions.
#include <cmath>
#include <limits>

#include "module_test_support.h"

namespace qevtest {
namespace {

using qevhost::Module;

float outputAt(Module& module, float input) {
    module.setValue(rnd::Input, input);
    module.process();
    return module.value(rnd::Output);
}

// Outputs over a spread of inputs, with several octaves and blending so that any difference in
// the table shows.
std::vector<float> outputsWithSeed(float seed) {
    auto module = startedModule(
        randomPlugin(),
        {{rnd::Seed, seed}, {rnd::Octaves, 3.5f}, {rnd::Fade, 0.6f}, {rnd::Scale, 0.37f}});
    std::vector<float> outputs;
    for (float input = -20.0f; input < 20.0f; input += 1.25f) {
        outputs.push_back(outputAt(*module, input));
    }
    return outputs;
}

TEST(RandomValues, DefaultsReadOneTableEntryPerCell) {
    const auto& table = tableFor(42);
    ASSERT_EQ(table[0], 7449);
    ASSERT_EQ(table[7449], 4197);
    ASSERT_EQ(table[7450], 797);

    auto module = startedModule(randomPlugin());
    for (float input : {0.0f, 0.25f, 0.5f, 0.99999994f}) {
        EXPECT_TRUE(sameBits(outputAt(*module, input), static_cast<float>(4197 / 9973.0)));
    }
    EXPECT_NEAR(outputAt(*module, 0.0f), 0.42083627, 5e-9);
    EXPECT_TRUE(sameBits(outputAt(*module, 1.0f), static_cast<float>(797 / 9973.0)));
    EXPECT_NEAR(outputAt(*module, 1.0f), 0.07991577, 5e-9);

    // Further cells: randomTable[(7449 + k) mod 9971] / 9973, wrapping past cell 9970.
    for (int k : {2, 100, 2521, 2522, 2523, 12000}) {
        const double entry = table[(7449 + k) % 9971] / 9973.0;
        EXPECT_NEAR(outputAt(*module, k + 0.5f), entry, 6e-8) << "cell offset " << k;
    }
}

// Input 0.5, Offset -0.375, Scale 2: base 0.25; Octaves 2.5 and Fade 0.5 (window 0.25).
// Octave 3 (half weight) samples (7449 + 0.25) * 9 = 67043.25: cell 67043, entry 7217, mid-cell.
// Octave 2 samples 29797.0: entry 9855 at the very start of its cell, halfway from entry 9854.
// Octave 1 samples 7449.25: entry 7449, mid-cell.
double octaveExampleNoise() {
    const auto& table = tableFor(42);
    const double s3 = table[7217] / 9973.0;
    const double s2 = ((table[9855] - table[9854]) * 0.5 + table[9854]) / 9973.0;
    const double s1 = table[7449] / 9973.0;
    double sum = (((s3 - 0.5) * 2.0) / 9.0) * 0.5;
    sum = sum + ((s2 - 0.5) * 2.0) / 4.0;
    sum = sum + ((s1 - 0.5) * 2.0) / 1.0;
    return (sum + 1.0) / 2.0;  // through the default window [-1, 1]
}

TEST(RandomValues, OctaveSumWorkedExample) {
    const std::vector<Setting> settings = {{rnd::Input, 0.5f},
                                           {rnd::Offset, -0.375f},
                                           {rnd::Scale, 2.0f},
                                           {rnd::Octaves, 2.5f},
                                           {rnd::Fade, 0.5f}};
    auto module = startedModule(randomPlugin(), settings);
    module->process();
    const double t = octaveExampleNoise();
    EXPECT_TRUE(sameBits(module->value(rnd::Output), static_cast<float>(t)));
    EXPECT_NEAR(module->value(rnd::Output), 0.3565864, 5e-8);

    module->setValue(rnd::OutputMin, -10.0f);
    module->setValue(rnd::OutputMax, 10.0f);
    module->process();
    EXPECT_TRUE(sameBits(module->value(rnd::Output), static_cast<float>(20.0 * t + -10.0)));
    EXPECT_NEAR(module->value(rnd::Output), -2.8682721, 5e-7);
}

TEST(RandomValues, NoOctavesGiveTheWindowPositionOfZero) {
    auto module = startedModule(randomPlugin(), {{rnd::Octaves, 0.0f}});
    for (float input : {0.0f, 3.7f, -1234.5f}) EXPECT_EQ(outputAt(*module, input), 0.5f);

    module->setValue(rnd::NoiseMin, -0.5f);
    module->setValue(rnd::NoiseMax, 1.5f);
    EXPECT_EQ(outputAt(*module, 9.0f), 0.25f);

    // An empty window at 0: a sum of 0 is at or above it.
    module->setValue(rnd::NoiseMin, 0.0f);
    module->setValue(rnd::NoiseMax, 0.0f);
    EXPECT_EQ(outputAt(*module, 9.0f), 1.0f);
}

TEST(RandomValues, ReversedNoiseWindowIsUsedSwapped) {
    const std::vector<Setting> settings = {{rnd::Octaves, 2.5f}, {rnd::Fade, 0.3f}};
    auto normal = startedModule(randomPlugin(), settings);
    auto reversed = startedModule(randomPlugin(), settings);
    reversed->setValue(rnd::NoiseMin, 1.0f);
    reversed->setValue(rnd::NoiseMax, -1.0f);
    for (float input = -3.0f; input < 3.0f; input += 0.35f) {
        EXPECT_TRUE(sameBits(outputAt(*reversed, input), outputAt(*normal, input)));
    }
}

TEST(RandomValues, ReversedOutputRangeFalls) {
    auto module = startedModule(randomPlugin(), {{rnd::OutputMin, 1.0f}, {rnd::OutputMax, 0.0f}});
    EXPECT_TRUE(sameBits(outputAt(*module, 0.5f), static_cast<float>(1.0 - 4197 / 9973.0)));
}

TEST(RandomValues, OutputStaysWithinTheRangeForExtremeFiniteInputs) {
    auto module = startedModule(randomPlugin(), {{rnd::Octaves, 16.0f},
                                                 {rnd::Fade, 1.0f},
                                                 {rnd::Bias, 0.00002f},
                                                 {rnd::Gain, 0.99998f},
                                                 {rnd::OutputMin, -3.0f},
                                                 {rnd::OutputMax, 5.0f}});
    const float big = std::numeric_limits<float>::max();
    for (float scale : {2e-8f, 1.0f, 1e6f, big}) {
        module->setValue(rnd::Scale, scale);
        for (float offset : {0.0f, -big, 1e20f}) {
            module->setValue(rnd::Offset, offset);
            for (float input : {0.0f, -7.5f, 123456.7f, 3e9f, -big, big}) {
                const float out = outputAt(*module, input);
                EXPECT_TRUE(out >= -3.0f && out <= 5.0f)
                    << out << " at input " << input << " offset " << offset << " scale " << scale;
            }
        }
    }
}

TEST(RandomValues, TopOfAWideRangeDoesNotCancelToZero) {
    // t = 1 (no octaves, window [-1, 0]): (max - min) * 1 + min loses max entirely in rounding.
    auto module = startedModule(randomPlugin(), {{rnd::Octaves, 0.0f},
                                                 {rnd::NoiseMax, 0.0f},
                                                 {rnd::OutputMin, -3.4e38f},
                                                 {rnd::OutputMax, -354.0f}});
    EXPECT_EQ(outputAt(*module, 0.0f), -354.0f);
}

TEST(RandomValues, SeedsConvertingToZeroUseTheDefaultSeed) {
    const auto withDefault = outputsWithSeed(4357.0f);
    ASSERT_NE(withDefault, outputsWithSeed(42.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float seed : {0.0f, 0.7f, -0.9f, 1e20f, -1e20f, nan, inf}) {
        EXPECT_EQ(outputsWithSeed(seed), withDefault) << "seed " << seed;
    }
}

TEST(RandomValues, SeedKeepsTheLow32BitsOfItsTruncation) {
    EXPECT_EQ(outputsWithSeed(3e9f), outputsWithSeed(-1294967296.0f));
    EXPECT_EQ(outputsWithSeed(42.7f), outputsWithSeed(42.0f));
    EXPECT_EQ(outputsWithSeed(-7.9f), outputsWithSeed(-7.0f));
    EXPECT_NE(outputsWithSeed(-7.0f), outputsWithSeed(7.0f));
}

}  // namespace
}  // namespace qevtest
