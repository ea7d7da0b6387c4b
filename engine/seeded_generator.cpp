#include "seeded_generator.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qev {

namespace {

constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr uint32_t kTwistConstant = 0x9908B0DFu;
constexpr int kMiddle = 397;
// Words of a block that the twist reads from ahead (mt[k + 397]) before it wraps round.
constexpr int kAhead = SeededGenerator::kWords - kMiddle;  // 227

uint32_t twistWord(uint32_t current, uint32_t next, uint32_t far) {
    const uint32_t y = (current & kUpperMask) | (next & kLowerMask);
    return far ^ (y >> 1) ^ ((y & 1u) ? kTwistConstant : 0u);
}

#if defined(__SSE2__)
// Four twisted words; lanes are independent, so any four consecutive words can be done at once
// as long as all three inputs are loaded before the result is stored.
__m128i twistWords(__m128i current, __m128i next, __m128i far) {
    const __m128i y = _mm_or_si128(_mm_and_si128(current, _mm_set1_epi32(int32_t(kUpperMask))),
                                   _mm_and_si128(next, _mm_set1_epi32(int32_t(kLowerMask))));
    const __m128i odd = _mm_sub_epi32(_mm_setzero_si128(), _mm_and_si128(y, _mm_set1_epi32(1)));
    const __m128i constant = _mm_and_si128(odd, _mm_set1_epi32(int32_t(kTwistConstant)));
    return _mm_xor_si128(_mm_xor_si128(far, _mm_srli_epi32(y, 1)), constant);
}

__m128i temperWords(__m128i y) {
    y = _mm_xor_si128(y, _mm_srli_epi32(y, 11));
    y = _mm_xor_si128(y, _mm_and_si128(_mm_slli_epi32(y, 7), _mm_set1_epi32(int32_t(0x9D2C5680u))));
    y = _mm_xor_si128(y,
                      _mm_and_si128(_mm_slli_epi32(y, 15), _mm_set1_epi32(int32_t(0xEFC60000u))));
    return _mm_xor_si128(y, _mm_srli_epi32(y, 18));
}

__m128i load4(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
void store4(uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
#endif

// The tempered copy of all 624 words, by state index.
void temperBlock(const uint32_t* state, uint32_t* tempered) {
#if defined(__SSE2__)
    static_assert(SeededGenerator::kWords % 4 == 0, "whole vectors");
    for (int i = 0; i < SeededGenerator::kWords; i += 4)
        store4(tempered + i, temperWords(load4(state + i)));
#else
    for (int i = 0; i < SeededGenerator::kWords; ++i)
        tempered[i] = SeededGenerator::temper(state[i]);
#endif
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
    // In reference order mt[k] is s[623 - k]; the pass runs over k upwards (state indices
    // downwards), in place. For k < 227 the far word mt[k + 397] = s[i - 397] is not yet updated;
    // for 227 <= k < 623 it is mt[k - 227] = s[i + 227], updated earlier in this pass; the last
    // word wraps round to the new mt[0].
    uint32_t* const s = state_;
    int i = kWords - 1;
#if defined(__SSE2__)
    for (; i - 3 >= kMiddle; i -= 4)
        store4(s + i - 3,
               twistWords(load4(s + i - 3), load4(s + i - 4), load4(s + i - 3 - kMiddle)));
#endif
    for (; i >= kMiddle; --i) s[i] = twistWord(s[i], s[i - 1], s[i - kMiddle]);
#if defined(__SSE2__)
    static_assert((kMiddle - 1) % 4 == 0, "whole vectors");
    for (; i >= 4; i -= 4)
        store4(s + i - 3,
               twistWords(load4(s + i - 3), load4(s + i - 4), load4(s + i - 3 + kAhead)));
#else
    for (; i >= 1; --i) s[i] = twistWord(s[i], s[i - 1], s[i + kAhead]);
#endif
    s[0] = twistWord(s[0], s[kWords - 1], s[kAhead]);
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

void SeededGenerator::drawDoubles(double* out, int count) {
    // A draw from position p >= 3 reads words p - 2 and p - 3 and leaves p - 3: a run of such
    // draws reads one block only, so the block is tempered once for the run. The draws that cross
    // into the next block (two or three per block) go through drawDouble.
    alignas(16) uint32_t tempered[kWords];
    bool temperedValid = false;
    while (count > 0) {
        if (position_ >= 3) {
            const int run = position_ / 3 < count ? position_ / 3 : count;
            if (!temperedValid) temperBlock(state_, tempered);
            temperedValid = true;
            drawWithinBlock(tempered, out, run);
            out += run;
            count -= run;
        } else {
            const int before = position_;
            *out++ = drawDouble();
            --count;
            if (position_ > before) temperedValid = false;  // it regenerated
        }
    }
}

void SeededGenerator::drawWithinBlock(const uint32_t* tempered, double* out, int count) {
    int p = position_;
    for (int j = 0; j < count; ++j, p -= 3)
        out[j] = wordsToDouble(tempered[p - 2], tempered[p - 3]);
    position_ = p;
}

}  // namespace qev
