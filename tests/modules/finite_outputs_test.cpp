// A wire can send any float to any parameter: every finite value, in range or not, must give
// finite outputs. Positions on cell borders with the blend on meet the curves' zeros and poles
// (Noise Gain 0 there once gave 0 * inf).
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "module_test_support.h"

namespace qevtest {
namespace {

using qevhost::Module;

// Zeros, the smallest and largest floats of both signs, the fader ends, the next floats past
// them and whole numbers.
std::vector<float> edgeValues() {
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values = {0.0f, -0.0f, 1e-45f, -1e-45f, FLT_MAX, -FLT_MAX, 1.0f, -1.0f,
                                 2.0f, -2.0f, 16.0f,  17.0f,   2048.0f, 0.5f,     3e9f};
    for (float end : {0.00002f, 0.99998f, 2e-8f}) {
        values.insert(values.end(), {end, std::nextafter(end, -inf), std::nextafter(end, inf)});
    }
    return values;
}

std::string label(int32_t index, float value) {
    return "parameter " + std::to_string(index) + " = " + std::to_string(value);
}

TEST(FiniteOutputs, QevRandomOnCellBordersForEveryFiniteSetting) {
    for (int32_t index = rnd::Seed; index <= rnd::OutputMax; ++index) {
        for (float value : edgeValues()) {
            auto module = startedModule(randomPlugin(), {{rnd::Octaves, 3.0f}, {rnd::Fade, 0.5f}});
            module->change(index, value);
            for (float input : {0.0f, 1.0f, 2.0f, -3.0f, 0.125f, 4096.0f}) {
                module->setValue(rnd::Input, input);
                module->process();
                ASSERT_TRUE(std::isfinite(module->value(rnd::Output)))
                    << label(index, value) << ", Input " << input;
            }
        }
    }
}

TEST(FiniteOutputs, QevRandomArrayOnCellBordersForEveryFiniteSetting) {
    for (int32_t index = arr::Seed; index <= arr::Size; ++index) {
        for (float value : edgeValues()) {
            auto module = startedModule(
                randomArrayPlugin(), {{arr::Octaves, 3.0f}, {arr::Fade, 1.0f}, {arr::Size, 24.0f}});
            module->change(index, value);
            module->callBack(arr::Calculate);
            for (int32_t out : {arr::FloatOut, arr::IntegerOut}) {
                for (float element : module->array(out)) {
                    ASSERT_TRUE(std::isfinite(element)) << label(index, value);
                }
            }
        }
    }
}

// On a cell border the blend weight is 0.5, which every gain curve keeps: Noise Gain 0 there
// gives what the neutral gain gives.
TEST(FiniteOutputs, GainZeroOnABorderIsTheNeutralBlend) {
    for (float gain : {0.0f, -0.0f}) {
        auto shaped = startedModule(randomPlugin(),
                                    {{rnd::Fade, 0.5f}, {rnd::Gain, gain}, {rnd::Input, 1.0f}});
        auto neutral = startedModule(randomPlugin(), {{rnd::Fade, 0.5f}, {rnd::Input, 1.0f}});
        shaped->process();
        neutral->process();
        EXPECT_TRUE(sameBits(shaped->value(rnd::Output), neutral->value(rnd::Output)));
    }
}

}  // namespace
}  // namespace qevtest
