// The engine alone, against what a C++ user would pick instead: std::mt19937 for the table
// rebuild, libnoise's Perlin module for one value (libnoise_bench.cpp), and the engine's own
// scalar path for arrays.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "bench_inputs.h"
#include "cpu_check.h"
#include "noise.h"
#include "noise_block.h"

namespace qev::bench {
namespace {

constexpr double kBias = 0.3;
constexpr double kGain = 0.7;

const RandomTable& seed42Table() {
    static const RandomTable table = [] {
        SeededGenerator generator;
        SeedCache lastSeed;
        RandomTable t;
        t.reseed(42, generator, lastSeed);
        return t;
    }();
    return table;
}

// 9973 draws from a fresh seed, every iteration a new seed.
void Reseed(benchmark::State& state) {
    SeededGenerator generator;
    RandomTable table;
    uint32_t seed = 1;
    for (auto _ : state) {
        SeedCache empty;
        table.reseed(static_cast<int32_t>(seed++), generator, empty);
        benchmark::DoNotOptimize(table.paddedEntries());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Reseed);

// std::mt19937 seeded afresh, producing as many words as one rebuild consumes (3 x 9973).
void Mt19937SameWords(benchmark::State& state) {
    uint32_t seed = 1;
    for (auto _ : state) {
        std::mt19937 generator(seed++);
        uint32_t mix = 0;
        for (int i = 0; i < 3 * RandomTable::kSize; ++i) mix ^= generator();
        benchmark::DoNotOptimize(mix);
    }
}
BENCHMARK(Mt19937SameWords);

// One value per position, as the single-value module computes it per block: octave sum (on the
// path the CPU check picks, the settings' plan kept across values), noise window, output range.
// Arguments: octaves, Fade (0 or 1).
void OneValue(benchmark::State& state) {
    const RandomTable& table = seed42Table();
    const OctaveSettings settings{static_cast<double>(state.range(0)), state.range(1) * 0.5, kBias,
                                  kGain};
    const std::vector<double>& positions = valuePositions();
    OctaveSum octaveSum;
    for (auto _ : state) {
        for (double position : positions) {
            const double sum = octaveSum(position, settings, table);
            double value = mapOutputRange(normaliseNoise(sum, -1.0, 1.0), 0.0, 1.0);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * kValuesPerIteration);
}
BENCHMARK(OneValue)->ArgsProduct({{1, 4, 16}, {0, 1}});

// The same with the scalar octave sum, one octave after the other (the reference path).
void OneValueScalar(benchmark::State& state) {
    const RandomTable& table = seed42Table();
    const OctaveSettings settings{static_cast<double>(state.range(0)), state.range(1) * 0.5, kBias,
                                  kGain};
    const std::vector<double>& positions = valuePositions();
    for (auto _ : state) {
        for (double position : positions) {
            const double sum = sumOctaves(position, OctavePlan(settings), table);
            double value = mapOutputRange(normaliseNoise(sum, -1.0, 1.0), 0.0, 1.0);
            benchmark::DoNotOptimize(value);
        }
    }
    state.SetItemsProcessed(state.iterations() * kValuesPerIteration);
}
BENCHMARK(OneValueScalar)->ArgsProduct({{1, 4, 16}, {0, 1}});

constexpr int kArraySize = 2048;

// Array-module settings with a different offset each iteration, so no two consecutive
// iterations sample the same cells.
NoiseBlockSettings arraySettings(int64_t octaves, int64_t fade, int iteration) {
    NoiseBlockSettings settings;
    settings.octaves = {static_cast<double>(octaves), fade * 0.5, kBias, kGain};
    settings.wrappedOffset = std::fmod(123.456 + 1013.25 * (iteration % 64), 997300.0);
    settings.scale = 0.37;
    return settings;
}

template <void (*Compute)(const NoiseBlockSettings&, const RandomTable&, int32_t, int32_t, double*)>
void ArrayEngine(benchmark::State& state) {
    const RandomTable& table = seed42Table();
    static double values[kArraySize];
    int iteration = 0;
    for (auto _ : state) {
        const NoiseBlockSettings settings =
            arraySettings(state.range(0), state.range(1), iteration++);
        Compute(settings, table, 0, kArraySize, values);
        benchmark::DoNotOptimize(values);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kArraySize);
}
// The whole array without host calls: the scalar reference, and what the CPU check picks.
BENCHMARK(ArrayEngine<computeNoiseBlockScalar>)
    ->Name("ArrayEngineScalar")
    ->ArgsProduct({{1, 16}, {0, 1}});
BENCHMARK(ArrayEngine<computeNoiseBlock>)
    ->Name("ArrayEngineDispatched")
    ->ArgsProduct({{1, 16}, {0, 1}});

// The AVX2 block, which the dispatched one replaces where the CPU check picks AVX-512.
void ArrayEngineAvx2(benchmark::State& state) {
    chooseVectorPaths();
    if (!noiseBlockAvx2Available()) {
        state.SkipWithError("the engine keeps to its scalar paths on this processor");
        return;
    }
    ArrayEngine<computeNoiseBlockAvx2>(state);
}
BENCHMARK(ArrayEngineAvx2)->ArgsProduct({{16}, {0, 1}});

}  // namespace
}  // namespace qev::bench
