// libnoise's Perlin module at the positions and octave counts of the engine's OneValue benchmark:
// what a C++ user would pick instead of one noise value. Built where libnoise is installed.
#include <benchmark/benchmark.h>
#include <libnoise/noise.h>

#include "bench_inputs.h"

namespace qev::bench {
namespace {

// libnoise's gradient noise at the same positions and octave count, the fastest quality.
void LibnoisePerlin(benchmark::State& state) {
    noise::module::Perlin perlin;
    perlin.SetOctaveCount(static_cast<int>(state.range(0)));
    perlin.SetNoiseQuality(noise::QUALITY_FAST);
    const std::vector<double>& positions = valuePositions();
    for (auto _ : state) {
        for (double position : positions) {
            double value = perlin.GetValue(position, 0.0, 0.0);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * kValuesPerIteration);
}
BENCHMARK(LibnoisePerlin)->Arg(1)->Arg(4)->Arg(16);

}  // namespace
}  // namespace qev::bench
