// Built with -mavx512f -mavx512dq -mavx512vl (and without -mfma where the compiler allows it,
// always with -ffp-contract=off: no fused multiply-add may appear): the block kernels of
// noise_block_kernel.h eight doubles wide, with mask registers for the per-lane choices.
// GCC 12's AVX-512 intrinsics start some results from a deliberately undefined vector, which
// its own uninitialised-use warning then reports at every use.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include "noise_block_kernel.h"

namespace qev {

namespace {

// Eight lanes: masks are mask registers, one bit per lane.
struct Avx512Lanes {
    static constexpr int kWidth = 8;
    static constexpr int kAllLanes = 0xFF;
    using D = __m512d;
    using M = __mmask8;
    using I = __m256i;

    static QEV_INLINE D set1(double x) { return _mm512_set1_pd(x); }
    static QEV_INLINE D zero() { return _mm512_setzero_pd(); }
    static QEV_INLINE D load(const double* p) { return _mm512_load_pd(p); }
    static QEV_INLINE void store(double* p, D x) { _mm512_store_pd(p, x); }
    static QEV_INLINE void storeu(double* p, D x) { _mm512_storeu_pd(p, x); }
    static QEV_INLINE D add(D a, D b) { return _mm512_add_pd(a, b); }
    static QEV_INLINE D sub(D a, D b) { return _mm512_sub_pd(a, b); }
    static QEV_INLINE D mul(D a, D b) { return _mm512_mul_pd(a, b); }
    static QEV_INLINE D div(D a, D b) { return _mm512_div_pd(a, b); }
    static QEV_INLINE D floor(D x) {
        return _mm512_roundscale_pd(x, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    }
    static QEV_INLINE M lt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    static QEV_INLINE M gt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
    static QEV_INLINE M ge(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
    static QEV_INLINE M both(M a, M b) { return static_cast<M>(a & b); }
    static QEV_INLINE M either(M a, M b) { return static_cast<M>(a | b); }
    static QEV_INLINE int bits(M m) { return m; }
    static QEV_INLINE D select(M m, D ifTrue, D ifFalse) {
        return _mm512_mask_blend_pd(m, ifFalse, ifTrue);
    }
    static QEV_INLINE D onlyWhere(M m, D x) { return _mm512_maskz_mov_pd(m, x); }  // else +0
    static QEV_INLINE D unless(M m, D x) { return _mm512_maskz_mov_pd(static_cast<M>(~m), x); }
    static QEV_INLINE I truncate(D x) { return _mm512_cvttpd_epi32(x); }
    static QEV_INLINE D toDouble(I i) { return _mm512_cvtepi32_pd(i); }
    static QEV_INLINE I lowHalves(I i) { return _mm256_and_si256(i, _mm256_set1_epi32(0xFFFF)); }
    static QEV_INLINE I highHalves(I i) { return _mm256_srli_epi32(i, 16); }
    static QEV_INLINE I isub(I a, I b) { return _mm256_sub_epi32(a, b); }
    // The 32 bits at element `index` of a table of 16-bit elements: elements index and index + 1.
    static QEV_INLINE I gatherPairs(const uint16_t* table, I index) {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(table), index, 2);
    }
    static QEV_INLINE D gatherDoubles(const double* table, I index) {
        return _mm512_i32gather_pd(index, table, 8);
    }
    // first + min(j + lane, last) for each lane.
    static QEV_INLINE D elements(int32_t first, int32_t j, int32_t last) {
        const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
        return _mm512_cvtepi32_pd(
            _mm256_add_epi32(_mm256_set1_epi32(first),
                             _mm256_min_epi32(_mm256_add_epi32(_mm256_set1_epi32(j), lanes),
                                              _mm256_set1_epi32(last))));
    }
};

}  // namespace

void computeNoiseBlockAvx512Kernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                                   double* values) {
    computeNoiseBlockKernel<Avx512Lanes>(input, first, count, values);
}

void computeNoiseAtAvx512Kernel(const NoiseKernelInput& input, const double* bases, int32_t count,
                                double* values) {
    computeNoiseAtKernel<Avx512Lanes>(input, bases, count, values);
}

}  // namespace qev
