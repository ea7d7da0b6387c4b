// The vector paths of a build that has only the baseline ones (targets without x86 vector code,
// such as WebAssembly): no CPU check, avx2Available() is always false, and the vector kernels are
// stand-ins that the engine never calls.
#include <cstdlib>

#include "cpu_check.h"
#include "generator_kernels.h"
#include "noise_block_avx2.h"

namespace qev {

void chooseVectorPaths() {}

bool avx2Available() {
    return false;
}

bool avx512Available() {
    return false;
}

bool avx512Preferred() {
    return false;
}

void twistBlockAvx2(uint32_t*) {
    std::abort();
}

void drawRunAvx2(const uint32_t*, int32_t, double*, int32_t) {
    std::abort();
}

void sumOctavesAvx2Kernel(const NoiseKernelInput&, double, double*) {
    std::abort();
}

void computeNoiseBlockAvx2Kernel(const NoiseKernelInput&, int32_t, int32_t, double*) {
    std::abort();
}

void computeNoiseAtAvx2Kernel(const NoiseKernelInput&, const double*, int32_t, double*) {
    std::abort();
}

void computeNoiseBlockAvx512Kernel(const NoiseKernelInput&, int32_t, int32_t, double*) {
    std::abort();
}

void computeNoiseAtAvx512Kernel(const NoiseKernelInput&, const double*, int32_t, double*) {
    std::abort();
}

void finishElementsAvx2Kernel(const double*, int32_t, double, double, float*, float*) {
    std::abort();
}

}  // namespace qev
