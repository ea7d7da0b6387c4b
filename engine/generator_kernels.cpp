#include "generator_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "seeded_generator.h"

namespace qev {

namespace {

constexpr int kWords = SeededGenerator::kWords;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr uint32_t kTwistConstant = 0x9908B0DFu;
constexpr int kMiddle = 397;
// Words of a block that the twist reads from ahead (mt[k + 397]) before it wraps round.
constexpr int kAhead = kWords - kMiddle;  // 227

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

}  // namespace

void twistBlock(uint32_t* s) {
    // In reference order mt[k] is s[623 - k]; the pass runs over k upwards (state indices
    // downwards), in place. For k < 227 the far word mt[k + 397] = s[i - 397] is not yet updated;
    // for 227 <= k < 623 it is mt[k - 227] = s[i + 227], updated earlier in this pass; the last
    // word wraps round to the new mt[0].
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
}

void temperBlock(const uint32_t* state, uint32_t* tempered) {
#if defined(__SSE2__)
    static_assert(kWords % 4 == 0, "whole vectors");
    for (int i = 0; i < kWords; i += 4) store4(tempered + i, temperWords(load4(state + i)));
#else
    for (int i = 0; i < kWords; ++i) tempered[i] = SeededGenerator::temper(state[i]);
#endif
}

void drawRunTempered(const uint32_t* tempered, int32_t p, double* out, int32_t count) {
    for (int32_t j = 0; j < count; ++j, p -= 3)
        out[j] = SeededGenerator::wordsToDouble(tempered[p - 2], tempered[p - 3]);
}

}  // namespace qev
