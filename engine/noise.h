// The octave sum and the two mappings that turn one base position into one output value:
// mapOutputRange(normaliseNoise(sumOctaves(...), noiseMin, noiseMax), outputMin, outputMax).
#pragma once

#include <cstring>

#include "noise_block_avx2.h"
#include "random_table.h"

namespace qev {

// The noise settings that stay fixed across one computation.
struct OctaveSettings {
    double octaves = 1.0;     // 0 ... 16; a fractional part adds one partly weighted octave
    double fadeWindow = 0.0;  // half of Fade: the blend zone at each end of a cell
    double bias = 0.5;        // bias curve of the blend; 0.5 is neutral
    double gain = 0.5;        // gain curve of the blend; 0.5 is neutral
};

// Octaves outside 0 ... 16 are clamped (NaN counts as 0), so one value never costs more than
// 16 samples and no octave number is 0 or overflows its square.
double clampOctaves(double octaves);

// Sum over octaves: the fractional octave first, then floor(octaves) down to 1. Octave k samples
// at (table[k & 9972] + base) * k^2 and weighs its sample by 1/k^2. With the blend on and eight
// or more octaves, samples four octaves at a time where the processor runs AVX2 (the same bits).
double sumOctaves(double base, const OctaveSettings& settings, const RandomTable& table);

// The four-octaves-at-a-time sum; only where avx2Available() (cpu_check.h).
double sumOctavesAvx2(double base, const OctaveSettings& settings, const RandomTable& table);

// The part of sumOctaves that stays the same across a computation, worked out once.
struct OctavePlan {
    explicit OctavePlan(const OctaveSettings& settings);
    int32_t whole;    // floor of the clamped count, 0 ... 16
    double fraction;  // its fractional part; a partly weighted octave whole + 1 when not 0
    CellBlend blend;
};

// sumOctaves with the plan already made, one octave after the other: the reference.
double sumOctaves(double base, const OctavePlan& plan, const RandomTable& table);

// The octave sum of one value for a caller that computes many with settings that seldom change:
// the plan (and what the vector sum needs of it) is made again only when the settings differ,
// bit for bit, from the last call's. Same bits as sumOctaves; allocates nothing.
class OctaveSum {
  public:
    double operator()(double base, const OctaveSettings& settings, const RandomTable& table) {
        if (table_ != &table || std::memcmp(&settings, &settings_, sizeof settings) != 0)
            remake(settings, table);
        if (!vector_) return sumOctaves(base, plan_, table);
        double sum;
        sumOctavesAvx2Kernel(kernelInput_, base, &sum);
        return sum;
    }

  private:
    void remake(const OctaveSettings& settings, const RandomTable& table);

    OctaveSettings settings_{};
    const RandomTable* table_ = nullptr;
    OctavePlan plan_{OctaveSettings{}};
    bool vector_ = false;
    NoiseKernelInput kernelInput_{};
};

// One octave's share of the sum from its scaled sample (sample - 0.5) * 2: scaled / k^2. The
// squares of 1, 2, 4, 8 and 16 are powers of two, so their division is an exact product.
inline double octaveContribution(double scaled, int32_t octave) {
    static constexpr double kInverseSquares[] = {
        0, 1.0, 0.25, 0, 1.0 / 16, 0, 0, 0, 1.0 / 64, 0, 0, 0, 0, 0, 0, 0, 1.0 / 256};
    const double inverse = kInverseSquares[octave];
    return inverse != 0.0 ? scaled * inverse : scaled / static_cast<double>(octave * octave);
}

// Maps sum through [min(noiseMin, noiseMax), max(...)] onto [0, 1]; NaN stays NaN.
inline double normaliseNoise(double sum, double noiseMin, double noiseMax) {
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

// (outputMax - outputMin) * t + outputMin; a reversed range falls.
inline double mapOutputRange(double t, double outputMin, double outputMax) {
    return (outputMax - outputMin) * t + outputMin;
}

}  // namespace qev
