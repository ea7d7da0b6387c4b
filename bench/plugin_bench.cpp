// The plug-ins through their real exports, driven by a minimal host: one CallBack of the array
// module (2048 elements, both host calls per element), and Process of the single-value module.
// The array module is measured twice: as built, and built with the scalar block only.
#include <benchmark/benchmark.h>
#include <xmmintrin.h>

#include <cmath>
#include <memory>

#include "allocation_counter.h"
#include "bench_host.h"
#include "bench_inputs.h"

namespace qev::bench {
namespace {

// Parameter indices of the array module.
enum ArrayParam : int32_t {
    kArrayCalculate = 1,
    kArraySeed = 2,
    kArrayScale = 3,
    kArrayOffset = 4,
    kArrayOctaves = 5,
    kArrayFade = 8,
    kArrayBias = 9,
    kArrayGain = 10,
    kArraySize = 13,
    kArrayFloatOut = 14,
};

// Parameter indices of the single-value module.
enum ValueParam : int32_t {
    kValueInput = 0,
    kValueOctaves = 4,
    kValueFade = 7,
    kValueBias = 8,
    kValueGain = 9,
    kValueOutput = 12,
};

constexpr int kArrayLength = 2048;
// The MXCSR bits of a thread that flushes denormals.
constexpr unsigned int kFlushToZero = 0x8000;
constexpr unsigned int kDenormalsAreZero = 0x0040;
constexpr int kOffsets = 64;

std::unique_ptr<BenchHost> arrayHost(const char* path, int64_t octaves, int64_t fade) {
    auto host = std::make_unique<BenchHost>(path);
    host->start();
    host->set(kArraySeed, 42.0f);
    host->set(kArrayScale, 0.37f);
    host->set(kArrayOctaves, static_cast<float>(octaves));
    host->set(kArrayFade, static_cast<float>(fade));
    host->set(kArrayBias, 0.3f);
    host->set(kArrayGain, 0.7f);
    host->set(kArraySize, static_cast<float>(kArrayLength));
    host->init();
    return host;
}

float offsetFor(int iteration) {
    return 123.456f + 1013.25f * static_cast<float>(iteration % kOffsets);
}

// Skips the benchmark unless the allocation counter sees the plug-in's own allocations.
bool counterSeesPlugin(benchmark::State& state, const BenchHost& host) {
    if (host.creationAllocations() > 0) return true;
    state.SkipWithError("the allocation counter does not see the plug-in's allocations");
    return false;
}

// One CallBack for "Calculate Array" computes and writes all 2048 elements of both arrays; every
// iteration moves the offset, so consecutive iterations sample other cells.
void arrayCallBack(benchmark::State& state, const char* path) {
    const std::unique_ptr<BenchHost> host = arrayHost(path, state.range(0), state.range(1));
    if (!counterSeesPlugin(state, *host)) return;
    int iteration = 0;
    const long before = countedAllocations();
    {
        CountAllocations counting;
        for (auto _ : state) {
            host->set(kArrayOffset, offsetFor(iteration++));
            host->callBack(kArrayCalculate);
            benchmark::DoNotOptimize(host->array(kArrayFloatOut).data());
        }
    }
    state.counters["allocations"] = static_cast<double>(countedAllocations() - before);
    state.SetItemsProcessed(state.iterations() * kArrayLength);
    if (static_cast<int>(host->array(kArrayFloatOut).size()) != kArrayLength)
        state.SkipWithError("the array module did not size its outlet");
}

void ArrayExports(benchmark::State& state) {
    arrayCallBack(state, QEV_ARRAY_PLUGIN);
}
void ArrayExportsScalar(benchmark::State& state) {
    arrayCallBack(state, QEV_ARRAY_PLUGIN_SCALAR);
}
BENCHMARK(ArrayExports)->ArgsProduct({{1, 16}, {0, 1}});
BENCHMARK(ArrayExportsScalar)->ArgsProduct({{1, 16}, {0, 1}});

// The two builds of the array plug-in must fill the same arrays; checked once per setting.
void ArrayBuildsAgree(benchmark::State& state) {
    const std::unique_ptr<BenchHost> vector = arrayHost(QEV_ARRAY_PLUGIN, 16, state.range(0));
    const std::unique_ptr<BenchHost> scalar =
        arrayHost(QEV_ARRAY_PLUGIN_SCALAR, 16, state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < 8; ++i) {
            vector->set(kArrayOffset, offsetFor(i));
            scalar->set(kArrayOffset, offsetFor(i));
            vector->callBack(kArrayCalculate);
            scalar->callBack(kArrayCalculate);
            if (vector->array(kArrayFloatOut) != scalar->array(kArrayFloatOut))
                state.SkipWithError("the vector and scalar builds disagree");
        }
    }
}
BENCHMARK(ArrayBuildsAgree)->Arg(0)->Arg(1)->Iterations(1)->Repetitions(1);

// Process of the single-value module: one block each, with a different Input every block; with
// ftzDaz, from a thread that flushes denormals (FTZ and DAZ set), as many hosts' audio threads do.
void processBlocks(benchmark::State& state, bool ftzDaz) {
    BenchHost host(QEV_VALUE_PLUGIN);
    if (!counterSeesPlugin(state, host)) return;
    host.start();
    host.set(kValueOctaves, static_cast<float>(state.range(0)));
    host.set(kValueFade, static_cast<float>(state.range(1)));
    host.set(kValueBias, 0.3f);
    host.set(kValueGain, 0.7f);
    const std::vector<double>& positions = valuePositions();
    const long before = countedAllocations();
    const unsigned int callerMxcsr = _mm_getcsr();
    if (ftzDaz) _mm_setcsr(callerMxcsr | kFlushToZero | kDenormalsAreZero);
    {
        CountAllocations counting;
        for (auto _ : state) {
            for (double position : positions) {
                host.set(kValueInput, static_cast<float>(position));
                host.process();
            }
            benchmark::DoNotOptimize(host.value(kValueOutput));
        }
    }
    _mm_setcsr(callerMxcsr);
    state.counters["allocations"] = static_cast<double>(countedAllocations() - before);
    state.SetItemsProcessed(state.iterations() * kValuesPerIteration);
}

void ProcessExports(benchmark::State& state) {
    processBlocks(state, false);
}
void ProcessExportsFtzDaz(benchmark::State& state) {
    processBlocks(state, true);
}
// With 0 octaves no table is read: what is left is the least any Process pays here, the eleven
// reads and the write through the host, the entry point with its guard, and the output mapping.
BENCHMARK(ProcessExports)->ArgsProduct({{1, 16}, {0, 1}})->Args({0, 0});
BENCHMARK(ProcessExportsFtzDaz)->ArgsProduct({{16}, {0, 1}});

}  // namespace
}  // namespace qev::bench
