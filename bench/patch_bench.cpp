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

// The median of the times taken: a time slice lost to another program on the machine moves a
// mean but not the median.
double median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
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
    std::vector<double> perLoad;
    for (auto _ : state) {
        fillCachesWithOtherWork();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kLoads; ++i) at = words[at];
        benchmark::DoNotOptimize(at);
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        perLoad.push_back(seconds * 1e9 / kLoads);
    }
    state.counters["ns_per_item"] = median(perLoad);
}
BENCHMARK(PatchDependentLoad)->UseManualTime()->Iterations(40);

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

// One block of the patch: every object's Process once, after other work filled the caches, each
// call timed on its own. An item is one object's Process; memory per object is what its Create
// allocated.
void PatchProcessCold(benchmark::State& state) {
    const std::vector<std::unique_ptr<BenchHost>> hosts = patch(state.range(0));
    float input = 0.37f;
    std::vector<double> perCall;
    for (auto _ : state) {
        for (const auto& host : hosts) host->set(kValueInput, input += 1.25f);
        fillCachesWithOtherWork();
        double seconds = 0;
        for (const auto& host : hosts) {
            const auto start = std::chrono::steady_clock::now();
            host->process();
            const double call = secondsSince(start);
            seconds += call;
            perCall.push_back(call * 1e9);
        }
        state.SetIterationTime(seconds);
    }
    state.counters["ns_per_item"] = median(perCall);
    state.counters["bytes_per_object"] = static_cast<double>(hosts.front()->creationBytes());
}
BENCHMARK(PatchProcessCold)->Arg(16)->Arg(256)->Arg(1024)->UseManualTime()->Iterations(40);

// The same block timed as a whole, as a patch pays it: the host writes each object's "Input"
// (a wire's value) and calls its Process, one object after the other. An item is the block's
// time over N: the processor may overlap one object's waits for memory with the next object's.
void PatchBlockCold(benchmark::State& state) {
    const std::vector<std::unique_ptr<BenchHost>> hosts = patch(state.range(0));
    float input = 0.37f;
    std::vector<double> perObject;
    for (auto _ : state) {
        fillCachesWithOtherWork();
        const auto start = std::chrono::steady_clock::now();
        for (const auto& host : hosts) {
            host->set(kValueInput, input += 1.25f);
            host->process();
        }
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        perObject.push_back(seconds * 1e9 / static_cast<double>(hosts.size()));
    }
    state.counters["ns_per_item"] = median(perObject);
    state.counters["bytes_per_object"] = static_cast<double>(hosts.front()->creationBytes());
}
BENCHMARK(PatchBlockCold)->Arg(16)->Arg(256)->Arg(1024)->UseManualTime()->Iterations(40);

// Every object of the patch takes a new seed: one CallBack each, which rebuilds its table.
void PatchSeedChange(benchmark::State& state) {
    const std::vector<std::unique_ptr<BenchHost>> hosts = patch(state.range(0));
    float seed = static_cast<float>(state.range(0));
    std::vector<double> perCall;
    for (auto _ : state) {
        fillCachesWithOtherWork();
        double seconds = 0;
        for (const auto& host : hosts) {
            host->set(kValueSeed, seed += 1.0f);
            const auto start = std::chrono::steady_clock::now();
            host->callBack(kValueSeed);
            const double call = secondsSince(start);
            seconds += call;
            perCall.push_back(call * 1e9);
        }
        state.SetIterationTime(seconds);
    }
    state.counters["ns_per_item"] = median(perCall);
}
BENCHMARK(PatchSeedChange)->Arg(16)->Arg(256)->Arg(1024)->UseManualTime()->Iterations(4);

}  // namespace
}  // namespace qev::bench
