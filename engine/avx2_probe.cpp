// A check that AVX2 gathers read every lane, whichever register holds the indices. Built with
// -mavx2 and run once, only where the processor reports AVX2. Some emulators (QEMU 7.2's user
// mode among them) run AVX2 code but read one lane's address for all four when the indices sit
// in xmm4; the engine then keeps to its baseline paths.
#include <immintrin.h>

#include <cstdint>

namespace qev {

namespace {

const int32_t kProbeTable[8] = {10, 11, 12, 13, 14, 15, 16, 17};

// Gathers kProbeTable[1 ... 4] with the indices in the named register.
#define QEV_GATHER_PROBE(reg)                                                            \
    bool gatherThrough_##reg() {                                                         \
        const __m128i indices = _mm_setr_epi32(1, 2, 3, 4);                              \
        alignas(16) int32_t result[4] = {0, 0, 0, 0};                                    \
        asm volatile("vmovdqu %[indices], %%" #reg                                       \
                     "\n\t"                                                              \
                     "vpcmpeqd %%xmm0, %%xmm0, %%xmm0\n\t"                               \
                     "vpxor %%xmm1, %%xmm1, %%xmm1\n\t"                                  \
                     "vpgatherdd %%xmm0, (%[base], %%" #reg                              \
                     ", 4), %%xmm1\n\t"                                                  \
                     "vmovdqu %%xmm1, %[result]"                                         \
                     : [result] "=m"(result)                                             \
                     : [indices] "m"(indices), [base] "r"(kProbeTable)                   \
                     : "xmm0", "xmm1", #reg, "memory");                                  \
        return result[0] == 11 && result[1] == 12 && result[2] == 13 && result[3] == 14; \
    }

QEV_GATHER_PROBE(xmm2)
QEV_GATHER_PROBE(xmm3)
QEV_GATHER_PROBE(xmm4)
QEV_GATHER_PROBE(xmm5)
QEV_GATHER_PROBE(xmm6)
QEV_GATHER_PROBE(xmm7)

#undef QEV_GATHER_PROBE

}  // namespace

bool avx2GathersReadEveryLane() {
    return gatherThrough_xmm2() && gatherThrough_xmm3() && gatherThrough_xmm4() &&
           gatherThrough_xmm5() && gatherThrough_xmm6() && gatherThrough_xmm7();
}

}  // namespace qev
