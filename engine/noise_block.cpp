#include "noise_block.h"

#include <cmath>

#include "cpu_check.h"
#include "kernel_input.h"

namespace qev {

namespace {

NoiseKernelInput kernelInputFor(const NoiseBlockSettings& settings, const OctavePlan& plan,
                                const RandomTable& table) {
    NoiseKernelInput in = octaveKernelInput(plan, table);
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

// Halves away from zero, as floor(value + 0.5) above zero and ceil(value - 0.5) otherwise, so that
// (-0.5, 0] gives -0. Below one half in magnitude the result is a zero of that side: for the
// double just under one half, value + 0.5 rounds up to 1 and the formula alone would give 1.
double roundHalfAway(double value) {
    if (value > 0.0) return value < 0.5 ? 0.0 : std::floor(value + 0.5);
    return value > -0.5 ? -0.0 : std::ceil(value - 0.5);
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

void computeNoiseAtScalar(const NoiseBlockSettings& settings, const RandomTable& table,
                          const double* bases, int32_t count, double* values) {
    const OctavePlan plan(settings.octaves);
    for (int32_t j = 0; j < count; ++j) {
        const double sum = sumOctaves(bases[j], plan, table);
        const double t = normaliseNoise(sum, settings.noiseMin, settings.noiseMax);
        values[j] = settings.outputRange * t + settings.outputMin;
    }
}

namespace {

using BlockKernel = void (*)(const NoiseKernelInput&, int32_t, int32_t, double*);
using AtKernel = void (*)(const NoiseKernelInput&, const double*, int32_t, double*);

// The kernels have the plain curves only; the guarded ones are the reference's.
void blockThrough(BlockKernel kernel, const NoiseBlockSettings& settings, const RandomTable& table,
                  int32_t first, int32_t count, double* values) {
    if (count <= 0) return;
    const OctavePlan plan(settings.octaves);
    if (!plan.blend.boundedCurves) {
        computeNoiseBlockScalar(settings, table, first, count, values);
        return;
    }
    kernel(kernelInputFor(settings, plan, table), first, count, values);
}

void atThrough(AtKernel kernel, const NoiseBlockSettings& settings, const RandomTable& table,
               const double* bases, int32_t count, double* values) {
    if (count <= 0) return;
    const OctavePlan plan(settings.octaves);
    if (!plan.blend.boundedCurves) {
        computeNoiseAtScalar(settings, table, bases, count, values);
        return;
    }
    kernel(kernelInputFor(settings, plan, table), bases, count, values);
}

}  // namespace

void computeNoiseAtAvx2(const NoiseBlockSettings& settings, const RandomTable& table,
                        const double* bases, int32_t count, double* values) {
    atThrough(&computeNoiseAtAvx2Kernel, settings, table, bases, count, values);
}

void computeNoiseAtAvx512(const NoiseBlockSettings& settings, const RandomTable& table,
                          const double* bases, int32_t count, double* values) {
    atThrough(&computeNoiseAtAvx512Kernel, settings, table, bases, count, values);
}

void computeNoiseAt(const NoiseBlockSettings& settings, const RandomTable& table,
                    const double* bases, int32_t count, double* values) {
    if (avx512Preferred()) {
        computeNoiseAtAvx512(settings, table, bases, count, values);
    } else if (avx2Available()) {
        computeNoiseAtAvx2(settings, table, bases, count, values);
    } else {
        computeNoiseAtScalar(settings, table, bases, count, values);
    }
}

bool noiseBlockAvx2Available() {
    return avx2Available();
}

void computeNoiseBlockAvx2(const NoiseBlockSettings& settings, const RandomTable& table,
                           int32_t first, int32_t count, double* values) {
    blockThrough(&computeNoiseBlockAvx2Kernel, settings, table, first, count, values);
}

void computeNoiseBlockAvx512(const NoiseBlockSettings& settings, const RandomTable& table,
                             int32_t first, int32_t count, double* values) {
    blockThrough(&computeNoiseBlockAvx512Kernel, settings, table, first, count, values);
}

void finishElementsScalar(const double* values, int32_t count, double low, double high,
                          float* floats, float* integers) {
    for (int32_t j = 0; j < count; ++j) {
        double value = values[j];
        if (value < low) {
            value = low;
        } else if (value > high) {
            value = high;
        }
        floats[j] = static_cast<float>(value);
        integers[j] = static_cast<float>(roundHalfAway(value));
    }
}

void finishElementsAvx2(const double* values, int32_t count, double low, double high, float* floats,
                        float* integers) {
    finishElementsAvx2Kernel(values, count, low, high, floats, integers);
}

void finishElements(const double* values, int32_t count, double low, double high, float* floats,
                    float* integers) {
    if (avx2Available()) {
        finishElementsAvx2Kernel(values, count, low, high, floats, integers);
    } else {
        finishElementsScalar(values, count, low, high, floats, integers);
    }
}

void computeNoiseBlock(const NoiseBlockSettings& settings, const RandomTable& table, int32_t first,
                       int32_t count, double* values) {
    if (avx512Preferred()) {
        computeNoiseBlockAvx512(settings, table, first, count, values);
    } else if (avx2Available()) {
        computeNoiseBlockAvx2(settings, table, first, count, values);
    } else {
        computeNoiseBlockScalar(settings, table, first, count, values);
    }
}

}  // namespace qev
