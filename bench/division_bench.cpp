// The floor under every noise computation: the processor's throughput of double divisions, which
// the bits cannot do without. Measured in the same run as the rest, for the vector width the
// engine's bound is defined by (AVX2 where the CPU check picks it), for AVX-512 where the
// processor has it (information only) and for scalar divisions; one item is one double divided.
#include <benchmark/benchmark.h>

#include "cpu_check.h"

namespace qev::bench {
namespace {

// Rounds per iteration, each dividing eight independent chains (more than enough to cover the
// divider's latency); the divisor stays close to 1, so no chain nears the subnormals.
constexpr int kRounds = 512;
constexpr int kChains = 8;

// Divides by a divisor the compiler cannot see, so every quotient is a real division.
double runtimeDivisor() {
    volatile double divisor = 1.0000001;
    return divisor;
}

// Eight chains of d divided by d, each kept in a register of its own: the empty asm makes every
// quotient an input of the next round, so the compiler neither merges nor drops a division.
#define QEV_DIVIDE_CHAINS(T, d)                                                           \
    do {                                                                                  \
        T a = d, b = d, c = d, e = d, f = d, g = d, h = d, i = d;                         \
        for (int round = 0; round < kRounds; ++round) {                                   \
            a = a / d, b = b / d, c = c / d, e = e / d, f = f / d, g = g / d, h = h / d,  \
            i = i / d;                                                                    \
            asm volatile(""                                                               \
                         : "+x"(a), "+x"(b), "+x"(c), "+x"(e), "+x"(f), "+x"(g), "+x"(h), \
                           "+x"(i));                                                      \
        }                                                                                 \
    } while (false)

void DivisionScalar(benchmark::State& state) {
    const double divisor = runtimeDivisor();
    for (auto _ : state) QEV_DIVIDE_CHAINS(double, divisor);
    state.SetItemsProcessed(state.iterations() * kRounds * kChains);
}
BENCHMARK(DivisionScalar);

#if defined(__x86_64__) || defined(__i386__)
using Vector4 = double __attribute__((vector_size(32)));

__attribute__((target("avx2"), noinline)) void divideVectors(double divisor) {
    const Vector4 d = {divisor, divisor, divisor, divisor};
    QEV_DIVIDE_CHAINS(Vector4, d);
}

// Four doubles per instruction, where the engine's vector paths run.
void DivisionVector(benchmark::State& state) {
    chooseVectorPaths();
    if (!avx2Available()) {
        state.SkipWithError("the engine keeps to its scalar paths on this processor");
        return;
    }
    const double divisor = runtimeDivisor();
    for (auto _ : state) divideVectors(divisor);
    state.SetItemsProcessed(state.iterations() * kRounds * kChains * 4);
}
BENCHMARK(DivisionVector);

using Vector8 = double __attribute__((vector_size(64)));

__attribute__((target("avx512f"), noinline)) void divideVectors512(double divisor) {
    const Vector8 d = {divisor, divisor, divisor, divisor, divisor, divisor, divisor, divisor};
    QEV_DIVIDE_CHAINS(Vector8, d);
}

// Eight doubles per instruction, for information: the bound stays at the AVX2 rate.
void DivisionVector512(benchmark::State& state) {
    const double divisor = runtimeDivisor();
    for (auto _ : state) divideVectors512(divisor);
    state.SetItemsProcessed(state.iterations() * kRounds * kChains * 8);
}

// Listed only where the AVX-512 kernels run.
[[maybe_unused]] const bool kDivisionVector512Listed = [] {
    chooseVectorPaths();
    if (avx512Available()) benchmark::RegisterBenchmark("DivisionVector512", DivisionVector512);
    return true;
}();
#endif

}  // namespace
}  // namespace qev::bench
