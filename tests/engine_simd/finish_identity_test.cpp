// The array module's outputs of a block: the value kept within the output range as a float, and
// that value rounded half away from zero as a float. The rounding against worked examples whose
// answers are written out and against a rounding done another way; the AVX2 version against the
// scalar one, the same float bits (any NaN matching any NaN), or a skip where the engine does not
// take its AVX2 paths (vector_paths.h).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "noise_block.h"
#include "noise_cases.h"
#include "vector_paths.h"

namespace qev::testing {
namespace {

using Finish = void (*)(const double*, int32_t, double, double, float*, float*);

constexpr double kInf = std::numeric_limits<double>::infinity();

uint32_t floatBits(float value) {
    if (value != value) return 0x7FC00000u;
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Each example five times over: the four-wide path takes it in its lanes and leaves the fifth to
// the scalar code.
void checkWorkedExamples(Finish finish) {
    const struct {
        double value;
        float integer;
    } examples[] = {
        {2.5, 3.0f},
        {-2.5, -3.0f},
        {-0.4, -0.0f},  // the sign kept
        {8388607.5, 8388608.0f},
        {0.49999999999999994, 0.0f},  // the largest double below one half
        {-0.49999999999999994, -0.0f},
        {0.5, 1.0f},
        {-0.5, -1.0f},
        {0.0, -0.0f},  // every value in (-0.5, 0] gives -0
        {-0.0, -0.0f},
        {1e-310, 0.0f},
        {-1e-310, -0.0f},
        {0.49, 0.0f},
        {1.4999999999999998, 1.0f},
        {1.5, 2.0f},
        {-1.5, -2.0f},
        {-254.5, -255.0f},
        {4503599627370495.5, 4503599627370496.0f},
        {kInf, std::numeric_limits<float>::infinity()},
        {std::nan(""), std::nanf("")},
    };
    for (const auto& example : examples) {
        const std::vector<double> values(5, example.value);
        std::vector<float> floats(5), integers(5);
        finish(values.data(), 5, -kInf, kInf, floats.data(), integers.data());
        for (int j = 0; j < 5; ++j) {
            EXPECT_EQ(floatBits(floats[j]), floatBits(static_cast<float>(example.value)))
                << std::hexfloat << example.value;
            EXPECT_EQ(floatBits(integers[j]), floatBits(example.integer))
                << example.value << " gave " << integers[j] << " at " << j;
        }
    }
}

// Half away from zero by whole part and rest (exact below 2^52), with the module's zero: -0 for
// every value in (-0.5, 0].
double roundedByParts(double v) {
    double whole = std::trunc(v);
    const double rest = v - whole;
    if (rest >= 0.5) whole += 1.0;
    if (rest <= -0.5) whole -= 1.0;
    if (whole == 0.0) whole = v > 0.0 ? 0.0 : -0.0;
    return whole;
}

// Random blocks: halves, values of every magnitude, random bit patterns and the extremes, each
// range of a kind the module meets.
struct Blocks {
    CaseSource source{3};
    std::vector<double> values = std::vector<double>(203);
    double low = 0, high = 0;
    int32_t count = 0;

    void next(int round) {
        const double extremes[] = {0.0,  -0.0,  0.5,          -0.5,   2.5,  -2.5,  1e300, -1e300,
                                   4e38, -4e38, std::nan(""), 1e-310, kInf, -kInf, 3e38,  0.999999};
        const double bounds[][2] = {{0, 1}, {-1, 1},  {-kInf, kInf},     {-3e38, 3e38},
                                    {2, 2}, {-5, -4}, {std::nan(""), 1}, {0, std::nan("")}};
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
        low = bounds[round % 8][0];
        high = bounds[round % 8][1];
        count = source.below(204);
    }
};

TEST(FinishElements, RoundingWorkedExamples) {
    chooseVectorPaths();  // as the module does when it is made
    checkWorkedExamples(&finishElementsScalar);
    checkWorkedExamples(&finishElements);
}

TEST(FinishElements, ScalarKeepsWithinTheRangeAndRoundsHalvesAway) {
    Blocks blocks;
    for (int round = 0; round < 400; ++round) {
        blocks.next(round);
        std::vector<float> floats(blocks.count), integers(blocks.count);
        finishElementsScalar(blocks.values.data(), blocks.count, blocks.low, blocks.high,
                             floats.data(), integers.data());
        for (int32_t j = 0; j < blocks.count; ++j) {
            double v = blocks.values[j];
            if (v < blocks.low) v = blocks.low;
            if (v > blocks.high) v = blocks.high;
            ASSERT_EQ(floatBits(floats[j]), floatBits(static_cast<float>(v))) << v;
            // Beyond 2^52 every double is whole (the worked examples hold the edge).
            if (std::fabs(v) < 0x1p52) {
                ASSERT_EQ(floatBits(integers[j]), floatBits(static_cast<float>(roundedByParts(v))))
                    << std::hexfloat << v;
            } else if (!std::isfinite(v)) {
                ASSERT_EQ(floatBits(integers[j]), floatBits(static_cast<float>(v))) << v;
            }
        }
    }
}

TEST(FinishElements, VectorRoundingWorkedExamples) {
    QEV_NEED_VECTOR_PATHS();
    checkWorkedExamples(&finishElementsAvx2);
}

TEST(FinishElements, VectorMatchesScalar) {
    QEV_NEED_VECTOR_PATHS();
    Blocks blocks;
    for (int round = 0; round < 400; ++round) {
        blocks.next(round);
        const int32_t count = blocks.count;
        std::vector<float> expectedFloats(count), expectedIntegers(count);
        finishElementsScalar(blocks.values.data(), count, blocks.low, blocks.high,
                             expectedFloats.data(), expectedIntegers.data());
        for (Finish finish : {&finishElementsAvx2, &finishElements}) {
            std::vector<float> floats(count + 1, -7.0f), integers(count + 1, -7.0f);
            finish(blocks.values.data(), count, blocks.low, blocks.high, floats.data(),
                   integers.data());
            ASSERT_EQ(floats[count], -7.0f) << "wrote past the block";
            ASSERT_EQ(integers[count], -7.0f) << "wrote past the block";
            for (int32_t j = 0; j < count; ++j) {
                ASSERT_EQ(floatBits(floats[j]), floatBits(expectedFloats[j]))
                    << std::hexfloat << blocks.values[j];
                ASSERT_EQ(floatBits(integers[j]), floatBits(expectedIntegers[j]))
                    << std::hexfloat << blocks.values[j];
            }
        }
    }
}

}  // namespace
}  // namespace qev::testing
