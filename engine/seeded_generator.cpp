#include "seeded_generator.h"

namespace qev {

namespace {

constexpr double kTwoToMinus32 = 2.3283064365386963e-10;  // 0x3DF0000000000000
constexpr double kTwoToMinus64 = 5.421010862427522e-20;   // 0x3BF0000000000000
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr uint32_t kTwistConstant = 0x9908B0DFu;
constexpr int kMiddle = 397;

uint32_t twistWord(uint32_t current, uint32_t next, uint32_t far) {
    const uint32_t y = (current & kUpperMask) | (next & kLowerMask);
    return far ^ (y >> 1) ^ ((y & 1u) ? kTwistConstant : 0u);
}

}  // namespace

void SeededGenerator::seedGenerator(uint32_t seed) {
    if (seed == 0) seed = kDefaultSeed;
    state_[kWords - 1] = seed;
    for (int i = kWords - 2; i >= 0; --i) state_[i] = state_[i + 1] * 69069u;
    position_ = kWords;
    seeded_ = true;
    twist();
}

void SeededGenerator::regenerate() {
    if (!seeded_) {
        seedGenerator(kDefaultSeed);
        return;
    }
    twist();
}

void SeededGenerator::twist() {
    // In reference order mt[k] is state_[623 - k]; the pass runs over k upwards, in place.
    uint32_t* const top = state_ + (kWords - 1);
    auto mt = [top](int k) -> uint32_t& { return *(top - k); };
    for (int k = 0; k < kWords - 1; ++k) {
        const int far = k + kMiddle < kWords ? k + kMiddle : k + kMiddle - kWords;
        mt(k) = twistWord(mt(k), mt(k + 1), mt(far));
    }
    mt(kWords - 1) = twistWord(mt(kWords - 1), mt(0), mt(kMiddle - 1));
    position_ = kWords;
}

double SeededGenerator::drawDouble() {
    --position_;
    uint32_t first;
    if (position_ > 0) {
        --position_;
        first = state_[position_];
    } else if (position_ == 0) {
        first = state_[0];
        regenerate();
    } else {
        regenerate();
        --position_;
        first = state_[position_];
    }
    --position_;
    // Every 417th draw (from draw 624 on) would read one word below the state; that word only
    // adds less than 2^-32, and a fixed 0 keeps each seeding a function of the seed alone.
    const uint32_t second = position_ >= 0 ? state_[position_] : 0u;
    return wordsToDouble(temper(first), temper(second));
}

double SeededGenerator::wordsToDouble(uint32_t first, uint32_t second) {
    return static_cast<double>(first) * kTwoToMinus32 + static_cast<double>(second) * kTwoToMinus64;
}

}  // namespace qev
