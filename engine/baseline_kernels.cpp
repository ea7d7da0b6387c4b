// Stand-ins for the AVX2 kernels in builds that have only the baseline paths (QEV_BASELINE_ONLY,
// no x86 vector code). avx2Available() is false there, so the engine never calls them.
#include <cstdlib>

#include "generator_kernels.h"
#include "noise_block_avx2.h"

namespace qev {

bool avx2GathersReadEveryLane() {
    return false;
}

void twistBlockAvx2(uint32_t*) {
    std::abort();
}

void drawRunAvx2(const uint32_t*, int32_t, double*, int32_t) {
    std::abort();
}

double sumOctavesAvx2Kernel(const NoiseKernelInput&, double) {
    std::abort();
}

void computeNoiseBlockAvx2Kernel(const NoiseKernelInput&, int32_t, int32_t, double*) {
    std::abort();
}

}  // namespace qev
