// Built with -mavx2 (and without -mfma: no fused multiply-add may appear): the block kernels of
// noise_block_kernel.h four doubles wide, the octave sum of one value four octaves at a time, and
// the array module's outputs four at a time.
#include <immintrin.h>

#include "noise_block.h"
#include "noise_block_kernel.h"

namespace qev {

namespace {

// Four lanes: masks are vectors of all-ones or all-zero lanes.
struct Avx2Lanes {
    static constexpr int kWidth = 4;
    static constexpr int kAllLanes = 0xF;
    using D = __m256d;
    using M = __m256d;
    using I = __m128i;

    static QEV_INLINE D set1(double x) { return _mm256_set1_pd(x); }
    static QEV_INLINE D zero() { return _mm256_setzero_pd(); }
    static QEV_INLINE D load(const double* p) { return _mm256_load_pd(p); }
    static QEV_INLINE void store(double* p, D x) { _mm256_store_pd(p, x); }
    static QEV_INLINE void storeu(double* p, D x) { _mm256_storeu_pd(p, x); }
    static QEV_INLINE D add(D a, D b) { return _mm256_add_pd(a, b); }
    static QEV_INLINE D sub(D a, D b) { return _mm256_sub_pd(a, b); }
    static QEV_INLINE D mul(D a, D b) { return _mm256_mul_pd(a, b); }
    static QEV_INLINE D div(D a, D b) { return _mm256_div_pd(a, b); }
    static QEV_INLINE D floor(D x) {
        return _mm256_round_pd(x, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    }
    static QEV_INLINE M lt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static QEV_INLINE M gt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    static QEV_INLINE M ge(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static QEV_INLINE M both(M a, M b) { return _mm256_and_pd(a, b); }
    static QEV_INLINE M either(M a, M b) { return _mm256_or_pd(a, b); }
    static QEV_INLINE int bits(M m) { return _mm256_movemask_pd(m); }
    static QEV_INLINE D select(M m, D ifTrue, D ifFalse) {
        return _mm256_blendv_pd(ifFalse, ifTrue, m);
    }
    static QEV_INLINE D onlyWhere(M m, D x) { return _mm256_and_pd(m, x); }  // else +0
    static QEV_INLINE D unless(M m, D x) { return _mm256_andnot_pd(m, x); }
    static QEV_INLINE I truncate(D x) { return _mm256_cvttpd_epi32(x); }
    static QEV_INLINE D toDouble(I i) { return _mm256_cvtepi32_pd(i); }
    static QEV_INLINE I lowHalves(I i) { return _mm_and_si128(i, _mm_set1_epi32(0xFFFF)); }
    static QEV_INLINE I highHalves(I i) { return _mm_srli_epi32(i, 16); }
    static QEV_INLINE I isub(I a, I b) { return _mm_sub_epi32(a, b); }
    // The 32 bits at element `index` of a table of 16-bit elements: elements index and index + 1.
    static QEV_INLINE I gatherPairs(const uint16_t* table, I index) {
        return _mm_i32gather_epi32(reinterpret_cast<const int*>(table), index, 2);
    }
    static QEV_INLINE D gatherDoubles(const double* table, I index) {
        return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), table, index,
                                        _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8);
    }
    // first + min(j + lane, last) for each lane.
    static QEV_INLINE D elements(int32_t first, int32_t j, int32_t last) {
        return _mm256_cvtepi32_pd(_mm_add_epi32(
            _mm_set1_epi32(first),
            _mm_min_epi32(_mm_add_epi32(_mm_set1_epi32(j), _mm_setr_epi32(0, 1, 2, 3)),
                          _mm_set1_epi32(last))));
    }
};

}  // namespace

namespace {

// k * k for k = 16 down to 1, then 1 for the lanes past octave 1 (see octaveOffsetsFrom).
constexpr double kSquaresDown[19] = {256, 225, 196, 169, 144, 121, 100, 81, 64, 49,
                                     36,  25,  16,  9,   4,   1,   1,   1,  1};

// Step j of the sum samples octave top - j: the fractional octave whole + 1 first when there is
// one, then the whole ones down to 1; four steps to a vector. Lanes past the last step sample
// octave 1 and are not summed.
template <CellRange kRange, bool kBlends>
QEV_INLINE double sumOctaveLanes(const NoiseKernelInput& input, double base, int32_t top,
                                 bool fractional) {
    const double* offsets = input.octaveOffsets + (16 - top);
    const double* squares = kSquaresDown + (16 - top);
    const __m256d b = _mm256_set1_pd(base);
    alignas(32) double contributions[16];
    int32_t first = 0;
    do {  // top >= 1
        const __m256d square = _mm256_loadu_pd(squares + first);
        const __m256d position =
            _mm256_mul_pd(_mm256_add_pd(_mm256_loadu_pd(offsets + first), b), square);
        const __m256d scaled = scaledSampleLanes<Avx2Lanes, kBlends>(
            input, cellLanes<Avx2Lanes>(input, position, kRange));
        // Dividing by a power-of-two square gives the bits of the scalar sum's exact product.
        _mm256_store_pd(contributions + first, _mm256_div_pd(scaled, square));
        first += 4;
    } while (first < top);
    // The additions in the scalar sum's order.
    double sum = fractional ? contributions[0] * input.fraction : 0.0 + contributions[0];
    for (int32_t step = 1; step < top; ++step) sum = sum + contributions[step];
    return sum;
}

template <bool kBlends>
QEV_INLINE double sumOctaveLanes(const NoiseKernelInput& input, double base, int32_t top,
                                 bool fractional) {
    // Offsets are entries in [0, 9973] and squares at most 256, so a base in this range puts
    // every octave's position in a 32-bit cell; at or above 0, in a cell at or above 0.
    constexpr double kNarrowBase = 0x1p31 / 256 - 9974;
    if (base >= 0.0 && base < kNarrowBase)
        return sumOctaveLanes<CellRange::NarrowNonNegative, kBlends>(input, base, top, fractional);
    if (base > -kNarrowBase && base < kNarrowBase)
        return sumOctaveLanes<CellRange::Narrow, kBlends>(input, base, top, fractional);
    return sumOctaveLanes<CellRange::Any, kBlends>(input, base, top, fractional);
}

}  // namespace

void sumOctavesAvx2Kernel(const NoiseKernelInput& input, double base, double* sum) {
    const bool fractional = input.fraction != 0.0;
    const int32_t top = input.wholeOctaves + (fractional ? 1 : 0);
    if (top == 0) {
        *sum = 0.0;
    } else {
        *sum = input.blends ? sumOctaveLanes<true>(input, base, top, fractional)
                            : sumOctaveLanes<false>(input, base, top, fractional);
    }
}

void computeNoiseBlockAvx2Kernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                                 double* values) {
    computeNoiseBlockKernel<Avx2Lanes>(input, first, count, values);
}

void computeNoiseAtAvx2Kernel(const NoiseKernelInput& input, const double* bases, int32_t count,
                              double* values) {
    computeNoiseAtKernel<Avx2Lanes>(input, bases, count, values);
}

void finishElementsAvx2Kernel(const double* values, int32_t count, double low, double high,
                              float* floats, float* integers) {
    const __m256d lo = _mm256_set1_pd(low);
    const __m256d hi = _mm256_set1_pd(high);
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d signBit = _mm256_set1_pd(-0.0);
    int32_t j = 0;
    for (; j + 4 <= count; j += 4) {
        __m256d value = _mm256_loadu_pd(values + j);
        // Below low, low; else above high, high; else (NaN included) the value itself.
        value =
            Avx2Lanes::select(_mm256_cmp_pd(value, lo, _CMP_LT_OQ), lo,
                              Avx2Lanes::select(_mm256_cmp_pd(value, hi, _CMP_GT_OQ), hi, value));
        const __m256d up =
            _mm256_round_pd(_mm256_add_pd(value, half), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        const __m256d down =
            _mm256_round_pd(_mm256_sub_pd(value, half), _MM_FROUND_TO_POS_INF | _MM_FROUND_NO_EXC);
        const __m256d above = _mm256_cmp_pd(value, _mm256_setzero_pd(), _CMP_GT_OQ);
        // Below one half in magnitude a zero of the side taken (+0 above zero, else -0): the
        // double just under one half would reach 1 through value + 0.5.
        const __m256d small = _mm256_cmp_pd(_mm256_andnot_pd(signBit, value), half, _CMP_LT_OQ);
        const __m256d rounded = Avx2Lanes::select(small, _mm256_andnot_pd(above, signBit),
                                                  Avx2Lanes::select(above, up, down));
        _mm_storeu_ps(floats + j, _mm256_cvtpd_ps(value));
        _mm_storeu_ps(integers + j, _mm256_cvtpd_ps(rounded));
    }
    // The last few as the scalar code does them, which is the reference.
    finishElementsScalar(values + j, count - j, low, high, floats + j, integers + j);
}

}  // namespace qev
