#include "cpu_check.h"

namespace qev {

// avx2_probe.cpp, built for AVX2: run only where the processor reports it.
bool avx2GathersReadEveryLane();

namespace {

// Constant-initialised, so loading the library runs no code for it. Written once, inside the
// guarded first call of chooseVectorPaths(), before any object that reads it exists.
bool gAvx2 = false;

[[maybe_unused]] bool processorRunsAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && avx2GathersReadEveryLane();
#else
    return false;
#endif
}

}  // namespace

void chooseVectorPaths() {
#if !defined(QEV_BASELINE_ONLY)
    // A function-local static: the compiler guards its first run against concurrent callers.
    static const bool chosen = [] {
        gAvx2 = processorRunsAvx2();
        return true;
    }();
    (void)chosen;
#endif
}

bool avx2Available() {
    return gAvx2;
}

}  // namespace qev
