#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <vector>

#include "seeded_generator.h"

namespace qev {
namespace {

std::vector<double> draws(uint32_t seed, int count) {
    SeededGenerator generator;
    generator.seedGenerator(seed);
    std::vector<double> out;
    for (int i = 0; i < count; ++i) out.push_back(generator.drawDouble());
    return out;
}

TEST(SeededGenerator, SeedZeroAndMinusOneAreAliases) {
    EXPECT_EQ(draws(0, 1000), draws(4357, 1000));
    EXPECT_EQ(draws(static_cast<uint32_t>(-1), 1000), draws(4294967295u, 1000));
    EXPECT_NE(draws(1, 10), draws(2, 10));
}

TEST(SeededGenerator, FirstDrawsOfTheDefaultSeed) {
    const std::vector<double> first = draws(4357, 2);
    EXPECT_EQ(first[0], 0.9990608996037288);
    EXPECT_EQ(first[1], 0.03541634860273207);
}

TEST(SeededGenerator, WordsToDoubleRoundsUpToOneOnlyAtTheTop) {
    EXPECT_EQ(SeededGenerator::wordsToDouble(0xFFFFFFFFu, 0xFFFFFC00u), 1.0);
    EXPECT_EQ(SeededGenerator::wordsToDouble(0xFFFFFFFFu, 0xFFFFFFFFu), 1.0);
    EXPECT_LT(SeededGenerator::wordsToDouble(0xFFFFFFFFu, 0xFFFFFBFFu), 1.0);
    EXPECT_EQ(SeededGenerator::wordsToDouble(0, 0), 0.0);
}

TEST(SeededGenerator, DrawingBeforeSeedingUsesTheDefaultSeed) {
    SeededGenerator unseeded;
    const double value = unseeded.drawDouble();
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 1.0);
}

// The reference MT19937 stream (1998 seeding by 69069), produced by std::mt19937 with its state
// loaded through the stream operator: tempered word k of block b is reference[624 * b + k].
std::vector<uint32_t> referenceStream(uint32_t seed, int blocks) {
    std::ostringstream words;
    uint32_t word = seed;
    for (int k = 0; k < 624; ++k) {
        words << word << ' ';
        word *= 69069u;
    }
    words << 624;  // read position: the next output twists first
    std::istringstream in(words.str());
    std::mt19937 reference;
    in >> reference;
    EXPECT_FALSE(in.fail());
    std::vector<uint32_t> stream(624 * blocks);
    for (auto& w : stream) w = static_cast<uint32_t>(reference());
    return stream;
}

struct WordPair {
    int first;   // index into the reference stream
    int second;  // index, or -1 for the word below the state (read as 0)
};

// Which reference words draw d uses: the first block passes over words 0, 3, ...; then every two
// blocks (417 draws) repeat one pattern whose last draw has no second word in the state.
WordPair wordsOfDraw(int d) {
    if (d < 208) return {3 * d + 1, 3 * d + 2};
    const int cycle = (d - 208) / 417;
    const int e = (d - 208) % 417;
    const int block = 624 * (1 + 2 * cycle);
    const int next = block + 624;
    if (e < 208) return {block + 3 * e, block + 3 * e + 1};
    if (e == 208) return {block + 623, next};
    if (e < 416) return {next + 3 * (e - 209) + 2, next + 3 * (e - 209) + 3};
    return {next + 623, -1};
}

TEST(SeededGenerator, DrawsUseExactlyTheWordsOfTheSkippingPattern) {
    for (uint32_t seed : {4357u, 42u, 1u, 3000000000u}) {
        const std::vector<uint32_t> reference = referenceStream(seed, 50);
        ASSERT_EQ(reference[0], seed == 4357u ? 0xD13C8AF5u : reference[0]);
        SeededGenerator generator;
        generator.seedGenerator(seed);
        int belowState = 0;
        for (int d = 0; d < 9973; ++d) {
            const WordPair pair = wordsOfDraw(d);
            if (pair.second < 0) ++belowState;
            const double expected = SeededGenerator::wordsToDouble(
                reference[pair.first], pair.second < 0 ? 0u : reference[pair.second]);
            ASSERT_EQ(generator.drawDouble(), expected) << "seed " << seed << " draw " << d;
        }
        EXPECT_EQ(belowState, 23);
    }
}

TEST(SeededGenerator, ReseedingRestartsTheSequence) {
    SeededGenerator generator;
    generator.seedGenerator(99);
    for (int i = 0; i < 700; ++i) generator.drawDouble();
    generator.seedGenerator(42);
    std::vector<double> again;
    for (int i = 0; i < 1000; ++i) again.push_back(generator.drawDouble());
    EXPECT_EQ(again, draws(42, 1000));
}

}  // namespace
}  // namespace qev
