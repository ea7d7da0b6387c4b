#include "noise_block.h"

#include "noise_block_avx2.h"

namespace qev {

namespace {

[[maybe_unused]] bool processorRunsAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

// Decided once, when the library loads. The benchmarks' reference build keeps the scalar block.
#if defined(QEV_SCALAR_NOISE_BLOCK)
const bool kAvx2 = false;
#else
const bool kAvx2 = processorRunsAvx2();
#endif

// Worked out by the compiler, whose constant division rounds exactly as the run-time one does
// (a test compares every entry).
struct QuotientTable {
    double values[RandomTable::kSize + 1];
};
constexpr QuotientTable makeQuotientTable() {
    QuotientTable table{};
    for (int i = 0; i <= RandomTable::kSize; ++i) table.values[i] = i / RandomTable::kScale;
    return table;
}
constexpr QuotientTable kQuotients = makeQuotientTable();

NoiseKernelInput kernelInput(const NoiseBlockSettings& settings, const RandomTable& table) {
    const OctavePlan plan(settings.octaves);
    NoiseKernelInput in;
    in.entries = table.data();
    in.entryQuotients = kQuotients.values;
    in.wideCellIndex = &RandomTable::cellIndex;
    in.wholeOctaves = plan.whole;
    in.fraction = plan.fraction;
    in.blends = plan.blend.blends;
    in.fadeWindow = plan.blend.fadeWindow;
    in.windowEnd = plan.blend.windowEnd;
    in.fadeByProduct = plan.blend.window.byProduct();
    in.fadeReciprocal = plan.blend.window.reciprocal();
    in.shapesBias = plan.blend.shapesBias;
    in.biasFactor = plan.blend.biasFactor;
    in.shapesGain = plan.blend.shapesGain;
    in.gainFactor = plan.blend.gainFactor;
    in.wrappedOffset = settings.wrappedOffset;
    in.scale = settings.scale;
    // normaliseNoise's own ordering of the window.
    const bool reversed = settings.noiseMin > settings.noiseMax;
    in.noiseLow = reversed ? settings.noiseMax : settings.noiseMin;
    in.noiseHigh = reversed ? settings.noiseMin : settings.noiseMax;
    in.outputMin = settings.outputMin;
    in.outputRange = settings.outputRange;
    return in;
}

}  // namespace

void computeNoiseBlockScalar(const NoiseBlockSettings& settings, const RandomTable& table,
                             int32_t first, int32_t count, double* values) {
    const OctavePlan plan(settings.octaves);
    const double w = settings.wrappedOffset;
    for (int32_t j = 0; j < count; ++j) {
        const double base = w + (static_cast<double>(first + j) + w) * settings.scale;
        const double sum = sumOctaves(base, plan, table);
        const double t = normaliseNoise(sum, settings.noiseMin, settings.noiseMax);
        values[j] = settings.outputRange * t + settings.outputMin;
    }
}

const double* entryQuotients() {
    return kQuotients.values;
}

bool noiseBlockAvx2Available() {
    return kAvx2;
}

void computeNoiseBlockAvx2(const NoiseBlockSettings& settings, const RandomTable& table,
                           int32_t first, int32_t count, double* values) {
    if (count > 0) computeNoiseBlockAvx2Kernel(kernelInput(settings, table), first, count, values);
}

void computeNoiseBlock(const NoiseBlockSettings& settings, const RandomTable& table, int32_t first,
                       int32_t count, double* values) {
    if (kAvx2) {
        computeNoiseBlockAvx2(settings, table, first, count, values);
    } else {
        computeNoiseBlockScalar(settings, table, first, count, values);
    }
}

}  // namespace qev
