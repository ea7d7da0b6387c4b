// The generator's AVX2 kernels. Built with -mavx2 (no fused multiply-add): the same word
// operations and the same single rounded addition per draw as the baseline kernels.
#include <immintrin.h>

#include "generator_kernels.h"

namespace qev {

namespace {

// Local copies of the generator's constants and helpers: this file is built with -mavx2, and a
// shared inline function compiled here could serve the baseline code with AVX2 instructions.
constexpr int kWords = 624;
constexpr int kMiddle = 397;
constexpr int kAhead = kWords - kMiddle;  // 227
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr uint32_t kTwistConstant = 0x9908B0DFu;

uint32_t twistWord(uint32_t current, uint32_t next, uint32_t far) {
    const uint32_t y = (current & kUpperMask) | (next & kLowerMask);
    return far ^ (y >> 1) ^ ((y & 1u) ? kTwistConstant : 0u);
}

__m256i load8(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

void store8(uint32_t* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

__m256i twistWords(__m256i current, __m256i next, __m256i far) {
    const __m256i y =
        _mm256_or_si256(_mm256_and_si256(current, _mm256_set1_epi32(int32_t(kUpperMask))),
                        _mm256_and_si256(next, _mm256_set1_epi32(int32_t(kLowerMask))));
    const __m256i odd =
        _mm256_sub_epi32(_mm256_setzero_si256(), _mm256_and_si256(y, _mm256_set1_epi32(1)));
    const __m256i constant = _mm256_and_si256(odd, _mm256_set1_epi32(int32_t(kTwistConstant)));
    return _mm256_xor_si256(_mm256_xor_si256(far, _mm256_srli_epi32(y, 1)), constant);
}

__m128i temperWords(__m128i y) {
    y = _mm_xor_si128(y, _mm_srli_epi32(y, 11));
    y = _mm_xor_si128(y, _mm_and_si128(_mm_slli_epi32(y, 7), _mm_set1_epi32(int32_t(0x9D2C5680u))));
    y = _mm_xor_si128(y,
                      _mm_and_si128(_mm_slli_epi32(y, 15), _mm_set1_epi32(int32_t(0xEFC60000u))));
    return _mm_xor_si128(y, _mm_srli_epi32(y, 18));
}

// Unsigned 32-bit words as doubles, exactly: shifted into the signed range, converted, shifted
// back (every value is below 2^53).
__m256d wordsAsDoubles(__m128i words) {
    const __m128i shifted = _mm_xor_si128(words, _mm_set1_epi32(int32_t(0x80000000u)));
    return _mm256_add_pd(_mm256_cvtepi32_pd(shifted), _mm256_set1_pd(2147483648.0));
}

uint32_t temper(uint32_t y) {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

}  // namespace

void twistBlockAvx2(uint32_t* s) {
    // As the scalar twist: k = 623 - i upwards, i downwards; far word s[i - 397] (not yet
    // updated) while k < 227, then s[i + 227] (updated earlier in this pass). All inputs of
    // eight words are loaded before their results are stored.
    int i = kWords - 1;
    for (; i - 7 >= kMiddle; i -= 8)
        store8(s + i - 7,
               twistWords(load8(s + i - 7), load8(s + i - 8), load8(s + i - 7 - kMiddle)));
    for (; i >= kMiddle; --i) s[i] = twistWord(s[i], s[i - 1], s[i - kMiddle]);
    for (; i - 7 >= 1; i -= 8)
        store8(s + i - 7,
               twistWords(load8(s + i - 7), load8(s + i - 8), load8(s + i - 7 + kAhead)));
    for (; i >= 1; --i) s[i] = twistWord(s[i], s[i - 1], s[i + kAhead]);
    s[0] = twistWord(s[0], s[kWords - 1], s[kAhead]);
}

void drawRunAvx2(const uint32_t* state, int32_t p, double* out, int32_t count) {
    const int* words = reinterpret_cast<const int*>(state);
    const __m256d firstScale = _mm256_set1_pd(0x1p-32);
    const __m256d secondScale = _mm256_set1_pd(0x1p-64);
    int32_t j = 0;
    // Four draws at a time: first words at p - 2, p - 5, p - 8, p - 11, seconds one below each.
    for (; j + 4 <= count; j += 4, p -= 12) {
        const __m128i firstIndex = _mm_sub_epi32(_mm_set1_epi32(p - 2), _mm_setr_epi32(0, 3, 6, 9));
        const __m128i secondIndex = _mm_sub_epi32(firstIndex, _mm_set1_epi32(1));
        const __m128i first = temperWords(_mm_i32gather_epi32(words, firstIndex, 4));
        const __m128i second = temperWords(_mm_i32gather_epi32(words, secondIndex, 4));
        const __m256d value = _mm256_add_pd(_mm256_mul_pd(wordsAsDoubles(first), firstScale),
                                            _mm256_mul_pd(wordsAsDoubles(second), secondScale));
        _mm256_storeu_pd(out + j, value);
    }
    for (; j < count; ++j, p -= 3) {
        out[j] = static_cast<double>(temper(state[p - 2])) * 0x1p-32 +
                 static_cast<double>(temper(state[p - 3])) * 0x1p-64;
    }
}

}  // namespace qev
