// What the frame's floating-point environment costs per entry-point call, alone: a caller whose
// thread already computes as the modules do (read and compare only), and one with flush-to-zero
// and denormals-are-zero (the module's environment set, the caller's put back).
#include <benchmark/benchmark.h>
#include <xmmintrin.h>

#include "module_fp_environment.h"

namespace qev::bench {
namespace {

void FpEnvironmentGuard(benchmark::State& state) {
    const unsigned int original = _mm_getcsr();
    if (state.range(0) != 0) _mm_setcsr(original | 0x8040);  // FTZ and DAZ
    for (auto _ : state) {
        const ModuleFpEnvironment environment;
        benchmark::ClobberMemory();
    }
    _mm_setcsr(original);
}
BENCHMARK(FpEnvironmentGuard)->Arg(0)->Arg(1);

}  // namespace
}  // namespace qev::bench
