// The array module's outputs of a block (the value kept within the output range, and that value
// rounded half away from zero) four at a time with AVX2, against the scalar version: the same
// float bits (any NaN matching any NaN), and against the rounding written out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "cpu_check.h"
#include "noise_block.h"
#include "noise_cases.h"

namespace qev::testing {
namespace {

uint32_t floatBits(float value) {
    if (value != value) return 0x7FC00000u;
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(FinishIdentity, RandomAndExtremeValues) {
    chooseVectorPaths();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double extremes[] = {0.0,
                               -0.0,
                               0.5,
                               -0.5,
                               1.5,
                               -1.5,
                               2.5,
                               -2.5,
                               0.49999999999999994,
                               -0.49999999999999994,
                               4503599627370495.5,
                               -4503599627370497.0,
                               1e300,
                               -1e300,
                               3.4e38,
                               4e38,
                               -4e38,
                               inf,
                               -inf,
                               std::nan(""),
                               1e-310,
                               -1e-310,
                               0.999999,
                               -254.5};
    const double bounds[][2] = {{0, 1}, {-1, 1},  {-inf, inf},       {-3e38, 3e38},
                                {2, 2}, {-5, -4}, {std::nan(""), 1}, {0, std::nan("")}};
    CaseSource source(3);
    std::vector<double> values(203);
    for (int round = 0; round < 400; ++round) {
        for (double& v : values) {
            const int32_t kind = source.below(4);
            if (kind == 0) {
                v = source.pick(extremes);
            } else if (kind == 1) {
                v = std::ldexp(source.uniform(-1, 1), source.below(300) - 150);
            } else if (kind == 2) {
                v = std::round(source.uniform(-100, 100)) * 0.5;  // halves
            } else {
                const uint64_t bits = source.bits();
                std::memcpy(&v, &bits, sizeof v);
            }
        }
        const double* range = bounds[round % 8];
        const int32_t count = source.below(204);
        std::vector<float> floats(count + 1, -7.0f), integers(count + 1, -7.0f);
        std::vector<float> expectedFloats(count), expectedIntegers(count);
        finishElementsScalar(values.data(), count, range[0], range[1], expectedFloats.data(),
                             expectedIntegers.data());
        for (int32_t j = 0; j < count; ++j) {
            double v = values[j];
            if (v < range[0]) {
                v = range[0];
            } else if (v > range[1]) {
                v = range[1];
            }
            const double rounded = v > 0.0 ? std::floor(v + 0.5) : std::ceil(v - 0.5);
            ASSERT_EQ(floatBits(expectedFloats[j]), floatBits(static_cast<float>(v)));
            ASSERT_EQ(floatBits(expectedIntegers[j]), floatBits(static_cast<float>(rounded)));
        }
        for (auto finish : {&finishElements, &finishElementsAvx2}) {
            if (finish == &finishElementsAvx2 && !avx2Available()) continue;
            finish(values.data(), count, range[0], range[1], floats.data(), integers.data());
            ASSERT_EQ(floats[count], -7.0f) << "wrote past the block";
            for (int32_t j = 0; j < count; ++j) {
                ASSERT_EQ(floatBits(floats[j]), floatBits(expectedFloats[j]))
                    << std::hexfloat << values[j];
                ASSERT_EQ(floatBits(integers[j]), floatBits(expectedIntegers[j]))
                    << std::hexfloat << values[j];
            }
        }
    }
}

}  // namespace
}  // namespace qev::testing
