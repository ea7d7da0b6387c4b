// A patch: many objects of Qev Random, each with its own seed, each running once per block, with
// the caches full of other work in between. Per object: Process with cold caches, against one
// dependent load from memory measured the same way; the memory an object holds; a seed change.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "bench_host.h"

namespace qev::bench {
namespace {

enum ValueParam : int32_t {
    kValueInput = 0,
    kValueSeed = 1,
    kValueOctaves = 4,
    kValueFade = 7,
    kValueBias = 8,
    kValueGain = 9,
};

// Other work between blocks: reading this much evicts the objects from every cache level (more
// than the last level a core of the usual server processors shares with its neighbours).
constexpr std::size_t kOtherWorkBytes = std::size_t{64} << 20;
constexpr std::size_t kLineWords = 64 / sizeof(uint64_t);

// One word per cache line holds the line of the next load, in a random cycle over every line,
// so that reading it is the other work and following it is the dependent load.
const std::vector<uint64_t>& otherWork() {
    static const std::vector<uint64_t> words = [] {
        const std::size_t lines = kOtherWorkBytes / 64;
        std::vector<uint64_t> order(lines);
        std::iota(order.begin(), order.end(), uint64_t{0});
        std::shuffle(order.begin() + 1, order.end(), std::mt19937_64(28));
        std::vector<uint64_t> out(kOtherWorkBytes / sizeof(uint64_t));
        for (std::size_t i = 0; i < lines; ++i)
            out[order[i] * kLineWords] = order[(i + 1) % lines] * kLineWords;
        return out;
    }();
    return words;
}

void fillCachesWithOtherWork() {
    const std::vector<uint64_t>& words = otherWork();
    uint64_t sum = 0;
    for (std::size_t i = 0; i < words.size(); i += kLineWords) sum += words[i];
    benchmark::DoNotOptimize(sum);
}

// The best repetition: other programs on the machine only ever add to a time.
double fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One dependent load from memory: a chain of loads, each address read by the one before, after
// the caches were filled with other work.
void PatchDependentLoad(benchmark::State& state) {
    constexpr int kLoads = 1024;
    const std::vector<uint64_t>& words = otherWork();
    uint64_t at = 0;
    for (auto _ : state) {
        fillCachesWithOtherWork();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kLoads; ++i) at = words[at];
        benchmark::DoNotOptimize(at);
        state.SetIterationTime(secondsSince(start));
    }
    state.SetItemsProcessed(state.iterations() * kLoads);
}
BENCHMARK(PatchDependentLoad)->UseManualTime()->Iterations(40)->ComputeStatistics("min", fastest);

// N objects of Qev Random with seeds 1 ... N, 16 octaves, Fade 1, bias 0.3, gain 0.7.
std::vector<std::unique_ptr<BenchHost>> patch(int64_t objects) {
    std::vector<std::unique_ptr<BenchHost>> hosts;
    for (int64_t i = 0; i < objects; ++i) {
        auto host = std::make_unique<BenchHost>(QEV_VALUE_PLUGIN);
        host->start();
        host->set(kValueSeed, static_cast<float>(i + 1));
        host->set(kValueOctaves, 16.0f);
        host->set(kValueFade, 1.0f);
        host->set(kValueBias, 0.3f);
        host->set(kValueGain, 0.7f);
        host->init();
        hosts.push_back(std::move(host));
    }
    return hosts;
}

// One block of the patch: every object's Process once, after other work filled the caches. An
// item is one object's Process; memory per object is what its Create allocated.
void PatchProcessCold(benchmark::State& state) {
    const std::vector<std::unique_ptr<BenchHost>> hosts = patch(state.range(0));
    float input = 0.37f;
    for (auto _ : state) {
        for (const auto& host : hosts) host->set(kValueInput, input += 1.25f);
        fillCachesWithOtherWork();
        const auto start = std::chrono::steady_clock::now();
        for (const auto& host : hosts) host->process();
        state.SetIterationTime(secondsSince(start));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes_per_object"] = static_cast<double>(hosts.front()->creationBytes());
}
BENCHMARK(PatchProcessCold)
    ->Arg(16)
    ->Arg(256)
    ->Arg(1024)
    ->UseManualTime()
    ->Iterations(40)
    ->ComputeStatistics("min", fastest);

// Every object of the patch takes a new seed: one CallBack each, which rebuilds its table.
void PatchSeedChange(benchmark::State& state) {
    const std::vector<std::unique_ptr<BenchHost>> hosts = patch(state.range(0));
    float seed = static_cast<float>(state.range(0));
    for (auto _ : state) {
        fillCachesWithOtherWork();
        const auto start = std::chrono::steady_clock::now();
        for (const auto& host : hosts) {
            host->set(kValueSeed, seed += 1.0f);
            host->callBack(kValueSeed);
        }
        state.SetIterationTime(secondsSince(start));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PatchSeedChange)
    ->Arg(16)
    ->Arg(256)
    ->Arg(1024)
    ->UseManualTime()
    ->Iterations(4)
    ->ComputeStatistics("min", fastest);

}  // namespace
}  // namespace qev::bench
