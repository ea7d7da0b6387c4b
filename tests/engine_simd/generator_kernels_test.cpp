// The generator's block kernels, baseline and AVX2, against the textbook recurrence and the
// one-draw formula, on random blocks; the AVX2 ones report a skip where the engine does not take
// them (vector_paths.h).
#include "generator_kernels.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "noise_cases.h"
#include "seeded_generator.h"
#include "vector_paths.h"

namespace qev::testing {
namespace {

using Block = std::array<uint32_t, SeededGenerator::kWords>;
constexpr int kWords = SeededGenerator::kWords;

// MT19937's twist as usually written, on words in reference order.
void textbookTwist(Block& mt) {
    for (int k = 0; k < kWords; ++k) {
        const uint32_t y = (mt[k] & 0x80000000u) | (mt[(k + 1) % kWords] & 0x7FFFFFFFu);
        mt[k] = mt[(k + 397) % kWords] ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
    }
}

Block reversed(const Block& words) {
    Block out;
    for (int k = 0; k < kWords; ++k) out[kWords - 1 - k] = words[k];
    return out;
}

Block randomBlock(CaseSource& source) {
    Block block;
    for (uint32_t& word : block) word = static_cast<uint32_t>(source.bits());
    return block;
}

// Twists random blocks with `twist`, against the textbook recurrence.
void checkTwist(void (*twist)(uint32_t*)) {
    CaseSource source(8);
    for (int n = 0; n < 50; ++n) {
        Block mt = randomBlock(source);
        Block state = reversed(mt);
        textbookTwist(mt);
        twist(state.data());
        ASSERT_EQ(state, reversed(mt)) << n;
    }
}

// Draw runs of every length from random blocks, through the baseline kernel or the vector one,
// against the one-draw formula on the tempered words.
void checkDrawRuns(bool vector) {
    CaseSource source(9);
    for (int n = 0; n < 40; ++n) {
        const Block state = randomBlock(source);
        Block tempered;
        temperBlock(state.data(), tempered.data());
        for (int i = 0; i < kWords; ++i)
            ASSERT_EQ(tempered[i], SeededGenerator::temper(state[i])) << i;
        const int32_t p = 3 + source.below(kWords - 2);  // 3 ... 624
        const int32_t count = source.below(p / 3 + 1);
        std::vector<double> expected(count), drawn(count);
        for (int32_t j = 0; j < count; ++j)
            expected[j] =
                SeededGenerator::wordsToDouble(tempered[p - 2 - 3 * j], tempered[p - 3 - 3 * j]);
        if (vector) {
            drawRunAvx2(state.data(), p, drawn.data(), count);
        } else {
            drawRunTempered(tempered.data(), p, drawn.data(), count);
        }
        ASSERT_EQ(drawn, expected) << p << " " << count;
    }
}

TEST(GeneratorKernels, TwistIsTheTextbookRecurrence) {
    checkTwist(&twistBlock);
}

TEST(GeneratorKernels, VectorTwistIsTheTextbookRecurrence) {
    QEV_NEED_VECTOR_PATHS();
    checkTwist(&twistBlockAvx2);
}

TEST(GeneratorKernels, DrawRunsAreTheOneDrawFormula) {
    checkDrawRuns(false);
}

TEST(GeneratorKernels, VectorDrawRunsAreTheOneDrawFormula) {
    QEV_NEED_VECTOR_PATHS();
    checkDrawRuns(true);
}

}  // namespace
}  // namespace qev::testing
