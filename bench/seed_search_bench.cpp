// The seed search as qevhost and the page run it, on one core: Qev Random at 16 octaves and
// Fade 1, 1,000 values per seed, 10,000 seeds, each a table rebuild and a curve scored against a
// sketch and every property that reads the whole curve. Target: at most 1 s per search.
#include <benchmark/benchmark.h>

#include <cmath>

#include "seed_search.h"

namespace {

void SeedSearch(benchmark::State& state) {
    seeds::CurveSettings settings;
    settings.octaves = 16;
    settings.fade = 1;
    for (int i = 0; i < 1000; ++i) settings.inputs.push_back(static_cast<float>(i * 0.25));
    seeds::Query query;
    std::string error;
    seeds::addWants(query, "starts=0.2,loops,range,seldom-ends,calm", error);
    for (int i = 0; i <= 10; ++i) query.sketch.push_back({i * 25.0, 0.5 + 0.4 * std::sin(i)});
    const auto range = seeds::SeedRange::make(1, 10000, error);
    for (auto _ : state) {
        seeds::SeedSearch search(settings, query, *range, 12);
        search.run(0, range->count());
        benchmark::DoNotOptimize(search.best().data());
    }
    state.SetItemsProcessed(state.iterations() * range->count());
}
BENCHMARK(SeedSearch)->Unit(benchmark::kMillisecond);

}  // namespace
