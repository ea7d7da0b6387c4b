// What the frame's floating-point environment costs per entry-point call, around one division:
// a caller whose thread already computes as the modules do (read and compare only), and one with
// flush-to-zero and denormals-are-zero (the module's environment set, the caller's put back).
#include <benchmark/benchmark.h>
#include <xmmintrin.h>

#include "module_fp_environment.h"

namespace qev::bench {
namespace {

void FpEnvironmentGuard(benchmark::State& state) {
    const unsigned int original = _mm_getcsr();
    // No flag raised yet; FTZ and DAZ for the second case.
    _mm_setcsr((original & ~0x3fu) | (state.range(0) != 0 ? 0x8040u : 0u));
    volatile double value = 1.0;
    for (auto _ : state) {
        const ModuleFpEnvironment environment;
        value = value / 3.0;  // raises the inexact flag, as nearly any computation does
    }
    _mm_setcsr(original);
}
BENCHMARK(FpEnvironmentGuard)->Arg(0)->Arg(1);

}  // namespace
}  // namespace qev::bench
