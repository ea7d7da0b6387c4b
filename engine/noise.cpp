#include "noise.h"

#include <cmath>

#include "cpu_check.h"
#include "kernel_input.h"

namespace qev {

namespace {

constexpr double kMaxOctaves = 16.0;
constexpr int32_t kOctaveOffsetMask = 9972;

double octavePosition(const RandomTable& table, int32_t octave, double base) {
    return (table[octave & kOctaveOffsetMask] + base) * static_cast<double>(octave * octave);
}

}  // namespace

double clampOctaves(double octaves) {
    if (!(octaves > 0.0)) return 0.0;  // NaN and non-positive
    return octaves < kMaxOctaves ? octaves : kMaxOctaves;
}

OctavePlan::OctavePlan(const OctaveSettings& settings)
    : whole(static_cast<int32_t>(std::floor(clampOctaves(settings.octaves)))),  // 0 ... 16
      fraction(clampOctaves(settings.octaves) - whole),
      blend(settings.bias, settings.gain, settings.fadeWindow) {}

namespace {

// Whether the four-octaves-at-a-time sum serves this plan: it has the plain curves only, and
// below four octaves the scalar sum is as fast.
bool vectorSumServes(const OctavePlan& plan) {
    constexpr int32_t kVectorFromOctaves = 4;
    const int32_t sampled = plan.whole + (plan.fraction != 0.0 ? 1 : 0);
    return avx2Available() && plan.blend.boundedCurves && sampled >= kVectorFromOctaves;
}

}  // namespace

double sumOctaves(double base, const OctaveSettings& settings, const RandomTable& table) {
    const OctavePlan plan(settings);
    if (!vectorSumServes(plan)) return sumOctaves(base, plan, table);
    double sum;
    sumOctavesAvx2Kernel(octaveKernelInput(plan, table), base, &sum);
    return sum;
}

void OctaveSum::remake(const OctaveSettings& settings, const RandomTable& table) {
    settings_ = settings;
    table_ = &table;
    plan_ = OctavePlan(settings);
    vector_ = vectorSumServes(plan_);
    kernelInput_ = octaveKernelInput(plan_, table);
}

double sumOctavesAvx2(double base, const OctaveSettings& settings, const RandomTable& table) {
    const OctavePlan plan(settings);
    // The kernel has the plain curves only; the guarded ones are the reference's.
    if (!plan.blend.boundedCurves) return sumOctaves(base, plan, table);
    double sum;
    sumOctavesAvx2Kernel(octaveKernelInput(plan, table), base, &sum);
    return sum;
}

double sumOctaves(double base, const OctavePlan& plan, const RandomTable& table) {
    double sum = 0.0;
    if (plan.fraction != 0.0) {
        const int32_t octave = plan.whole + 1;
        const double scaled =
            table.scaledSampleCell(octavePosition(table, octave, base), plan.blend);
        sum = octaveContribution(scaled, octave) * plan.fraction;
    }
    for (int32_t octave = plan.whole; octave >= 1; --octave) {
        const double scaled =
            table.scaledSampleCell(octavePosition(table, octave, base), plan.blend);
        sum = sum + octaveContribution(scaled, octave);
    }
    return sum;
}

}  // namespace qev
