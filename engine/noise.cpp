#include "noise.h"

#include <cmath>

namespace qev {

namespace {

constexpr double kMaxOctaves = 16.0;
constexpr int32_t kOctaveOffsetMask = 9972;

// Contribution of one sample, weighted by the inverse square of its octave number.
double octaveContribution(double sample, double square) {
    return ((sample - 0.5) * 2.0) / square;
}

double octavePosition(const RandomTable& table, int32_t octave, double base, double square) {
    return (table[octave & kOctaveOffsetMask] + base) * square;
}

}  // namespace

double clampOctaves(double octaves) {
    if (!(octaves > 0.0)) return 0.0;  // NaN and non-positive
    return octaves < kMaxOctaves ? octaves : kMaxOctaves;
}

double sumOctaves(double base, const OctaveSettings& settings, const RandomTable& table) {
    const double octaves = clampOctaves(settings.octaves);
    const int32_t whole = static_cast<int32_t>(std::floor(octaves));  // 0 ... 16
    const double fraction = octaves - whole;
    double sum = 0.0;
    if (fraction != 0.0) {
        const int32_t octave = whole + 1;
        const double square = static_cast<double>(octave * octave);
        const double sample = table.sampleCell(octavePosition(table, octave, base, square),
                                               settings.bias, settings.gain, settings.fadeWindow);
        sum = octaveContribution(sample, square) * fraction;
    }
    for (int32_t octave = whole; static_cast<double>(octave) >= 1.0; --octave) {
        const double square = static_cast<double>(octave * octave);
        const double sample = table.sampleCell(octavePosition(table, octave, base, square),
                                               settings.bias, settings.gain, settings.fadeWindow);
        sum = sum + octaveContribution(sample, square);
    }
    return sum;
}

double normaliseNoise(double sum, double noiseMin, double noiseMax) {
    double lo = noiseMin;
    double hi = noiseMax;
    if (lo > hi) {
        lo = noiseMax;
        hi = noiseMin;
    }
    if (lo > sum) return 0.0;
    if (sum >= hi) return 1.0;
    return (sum - lo) / (hi - lo);
}

}  // namespace qev
