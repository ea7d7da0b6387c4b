// What one table lookup per lane costs with the processor's two ways of doing it: an AVX2 gather
// of four doubles, or four scalar loads put together. The vector kernels read every octave's
// sample this way; on some processors gathers cost more than the divisions around them. An item
// is one double read; the indices are spread over a table the size of the random table.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "cpu_check.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace qev::bench {
namespace {

constexpr int kTable = 9973;
constexpr int kIndices = 4096;

struct LookupData {
    std::vector<double> table = std::vector<double>(kTable, 0.5);
    std::vector<int32_t> indices = std::vector<int32_t>(kIndices);
    LookupData() {
        for (int i = 0; i < kIndices; ++i) indices[i] = (i * 7919) % 9971;
    }
};

__attribute__((target("avx2"), noinline)) double gatherAll(const LookupData& d) {
    __m256d sum = _mm256_setzero_pd();
    for (int i = 0; i < kIndices; i += 4) {
        const __m128i index = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&d.indices[i]));
        sum = _mm256_add_pd(
            sum, _mm256_mask_i32gather_pd(_mm256_setzero_pd(), d.table.data(), index,
                                          _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8));
    }
    return _mm256_cvtsd_f64(sum);
}

__attribute__((target("avx2"), noinline)) double loadAll(const LookupData& d) {
    __m256d sum = _mm256_setzero_pd();
    const double* t = d.table.data();
    for (int i = 0; i < kIndices; i += 4) {
        const int32_t* index = &d.indices[i];
        const __m128d low = _mm_loadh_pd(_mm_load_sd(t + index[0]), t + index[1]);
        const __m128d high = _mm_loadh_pd(_mm_load_sd(t + index[2]), t + index[3]);
        sum = _mm256_add_pd(sum, _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1));
    }
    return _mm256_cvtsd_f64(sum);
}

template <double (*kLookup)(const LookupData&)>
void Lookup(benchmark::State& state) {
    chooseVectorPaths();
    if (!avx2Available()) {
        state.SkipWithError("no AVX2 on this processor");
        return;
    }
    const LookupData data;
    for (auto _ : state) benchmark::DoNotOptimize(kLookup(data));
    state.SetItemsProcessed(state.iterations() * kIndices);
}
void LookupGather(benchmark::State& state) {
    Lookup<gatherAll>(state);
}
void LookupLoads(benchmark::State& state) {
    Lookup<loadAll>(state);
}
BENCHMARK(LookupGather);
BENCHMARK(LookupLoads);

}  // namespace
}  // namespace qev::bench
#endif
