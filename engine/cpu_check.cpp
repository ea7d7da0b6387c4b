#include "cpu_check.h"

namespace qev {

// avx2_probe.cpp, built for AVX2: run only where the processor reports it.
bool avx2GathersReadEveryLane();

namespace {

[[maybe_unused]] bool processorRunsAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && avx2GathersReadEveryLane();
#else
    return false;
#endif
}

#if defined(QEV_BASELINE_ONLY)
const bool kAvx2 = false;
#else
const bool kAvx2 = processorRunsAvx2();
#endif

}  // namespace

bool avx2Available() {
    return kAvx2;
}

}  // namespace qev
