// SeededGenerator: the MT19937 recurrence with the 1998 seeding by 69069, stored in reverse order
// and read from the top down. Each double takes two tempered words and normally passes over a
// third, and is formed as first * 2^-32 + second * 2^-64. The tables of stored patches depend on
// exactly this word pattern.
#pragma once

#include <cstdint>

namespace qev {

class SeededGenerator {
  public:
    static constexpr int kWords = 624;
    static constexpr uint32_t kDefaultSeed = 4357;

    // Makes the process's one choice of vector paths, the first time any generator is made.
    SeededGenerator();

    // Fills the state from the seed (0 stands for 4357) and regenerates once.
    void seedGenerator(uint32_t seed);

    // The MT19937 twist over all 624 words; seeds with 4357 first when never seeded.
    void regenerate();

    // A value in [0, 1]; exactly 1.0 only when rounding carries the sum up.
    double drawDouble();

    // count draws into out, exactly as count calls of drawDouble would give them.
    void drawDoubles(double* out, int count);

    // Tempered output of one word, as MT19937 defines it.
    static uint32_t temper(uint32_t y) {
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        return y;
    }

    // first * 2^-32 + second * 2^-64 of two tempered words, one rounding.
    static double wordsToDouble(uint32_t first, uint32_t second) {
        constexpr double kTwoToMinus32 = 0x1p-32;
        constexpr double kTwoToMinus64 = 0x1p-64;
        return static_cast<double>(first) * kTwoToMinus32 +
               static_cast<double>(second) * kTwoToMinus64;
    }

    // Word k of the current block in reference order (mt[k]); for tests.
    uint32_t referenceWord(int k) const { return state_[kWords - 1 - k]; }

  private:
    void twist();

    // state_[623] is the reference generator's mt[0], state_[0] its mt[623].
    uint32_t state_[kWords] = {};
    // Read position, counting down; 624 means a fresh block. Starts at 0 so that a draw before
    // any seeding regenerates, which seeds with the default.
    int32_t position_ = 0;
    bool seeded_ = false;
};

}  // namespace qev
