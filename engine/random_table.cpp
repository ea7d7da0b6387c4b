#include "random_table.h"

#include <cmath>

#include "cpu_check.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qev {

namespace {

// Truncates a draw in [0, 1] scaled by 9973: the value is in [0, 9973], so the cast is defined.
int32_t tableEntry(double draw) {
    return static_cast<int32_t>(draw * RandomTable::kScale);
}

// Draws per chunk of a rebuild: one block's worth, small enough for the stack.
constexpr int kDrawChunk = 208;

// A curve whose plain formula stays finite for every weight in [0, 1].
bool boundedCurve(bool shapes, double setting) {
    return !shapes || !(setting <= 0.0 || setting >= 1.0);  // NaN counts as bounded
}

// Finite samples stay below 1e78 in magnitude whatever the bias and gain (a weight's denominator
// is 0 or at least 2^-53); a pole's sample is clamped to this, so it still decides the sum alone
// and two of opposite sign no longer cancel into NaN.
constexpr double kPoleSample = 1e300;

}  // namespace

RandomTable::RandomTable() {
    for (double& scaled : scaledSamples_) scaled = -1.0;
    chooseVectorPaths();
}

CellBlend::CellBlend(double bias, double gain, double fadeWindow_)
    : blends(fadeWindow_ > 0.0),
      fadeWindow(fadeWindow_),
      windowEnd(1.0 - fadeWindow_),
      window(fadeWindow_),
      shapesBias(bias != 0.5),
      biasFactor((1.0 / bias) - 2.0),
      shapesGain(gain != 0.5),
      gainFactor((1.0 / gain) - 2.0),
      boundedCurves(!blends || (boundedCurve(shapesBias, bias) && boundedCurve(shapesGain, gain))) {
}

bool RandomTable::reseed(int32_t seed, SeededGenerator& generator, SeedCache& lastSeed) {
    if (lastSeed.valid && lastSeed.seed == seed) return false;
    lastSeed.valid = true;
    lastSeed.seed = seed;
    generator.seedGenerator(static_cast<uint32_t>(seed));
    double draws[kDrawChunk];
    int32_t entries[kDrawChunk];
    for (int i = 0; i < kSize; i += kDrawChunk) {
        const int count = kSize - i < kDrawChunk ? kSize - i : kDrawChunk;
        generator.drawDoubles(draws, count);
        int j = 0;
#if defined(__SSE2__)
        // Two at a time: the same product, truncation (values in [0, 9973]) and division.
        for (; j + 2 <= count; j += 2) {
            const __m128i truncated =
                _mm_cvttpd_epi32(_mm_mul_pd(_mm_loadu_pd(draws + j), _mm_set1_pd(kScale)));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(entries + j), truncated);
            const __m128d samples = _mm_div_pd(_mm_cvtepi32_pd(truncated), _mm_set1_pd(kScale));
            _mm_storeu_pd(scaledSamples_ + i + j,
                          _mm_mul_pd(_mm_sub_pd(samples, _mm_set1_pd(0.5)), _mm_set1_pd(2.0)));
        }
#endif
        for (; j < count; ++j) {
            entries[j] = tableEntry(draws[j]);
            scaledSamples_[i + j] = (entries[j] / kScale - 0.5) * 2.0;
        }
        for (j = 0; j < count; ++j) paddedEntries_[i + j + 1] = static_cast<uint16_t>(entries[j]);
    }
    paddedEntries_[0] = paddedEntries_[kEntryBeforeFirst + 1];
    constexpr int32_t kOctaveOffsetMask = 9972;
    for (int i = 0; i < 16 + kOctaveOffsetPadding; ++i) {
        const int32_t octave = i < 16 ? 16 - i : 1;
        octaveOffsets_[i] = (*this)[octave & kOctaveOffsetMask];
    }
    return true;
}

int32_t RandomTable::cellIndex(double cell) {
    // Cells below zero map through cell + 9973, then a remainder by 9971; cells at or above zero
    // through the remainder alone. fmod is exact, so this equals integer arithmetic for every
    // cell a 32-bit integer holds and stays in bounds for any larger one.
    const double remainder = std::fmod(cell, static_cast<double>(kCellModulus));
    int32_t index = static_cast<int32_t>(remainder);  // |remainder| < 9971
    if (cell < 0.0) {
        index += kSize;  // in (2, 9973]
        if (index >= kCellModulus) index -= kCellModulus;
    }
    return index;
}

int32_t RandomTable::wideCell(double position, double& frac) {
    const double cell = std::floor(position);
    frac = position - cell;
    return cellIndex(cell);
}

double RandomTable::guardedSample(double from, double to, double t, const CellBlend& blend) {
    if (blend.shapesBias) t = biasCurveGuarded(t, blend.biasFactor);
    if (blend.shapesGain) t = gainCurveGuarded(t, blend.gainFactor);
    // Equal neighbours give their value at any weight, an infinite one too (0 * t + from).
    const double value = to == from ? from : (to - from) * t + from;
    const double sample = value / kScale;
    if (std::isinf(sample)) return std::copysign(kPoleSample, sample);
    return sample;
}

double biasCurveGuarded(double t, double factor) {
    const double denominator = factor * (1.0 - t) + 1.0;
    // Bias 0 at t = 1 (inf * 0): every bias curve maps 1 to 1.
    if (std::isnan(denominator)) return t;
    return t / denominator;
}

double gainCurveGuarded(double t, double factor) {
    const double shaped = gainCurve(t, factor);
    if (!std::isnan(shaped)) return shaped;
    // A weight from a pole of the bias curve: the limit of the gain curve at either end.
    if (std::isinf(t)) return t > 0.0 ? 1.0 + 0.5 / factor : -0.5 / factor;
    // Gain 0: a step from 0 to 1, through 0.5 at t = 0.5 (the NaN arises only at t >= 0.5).
    if (std::isinf(factor)) return t > 0.5 ? 1.0 : t;
    // Gain 1 at t = 0 or 1 (0 / 0): every gain curve maps 0, 0.5 and 1 to themselves.
    return t;
}

double applyBias(double t, double bias) {
    if (bias == 0.5) return t;
    return biasCurveGuarded(t, (1.0 / bias) - 2.0);
}

double applyGain(double t, double gain) {
    if (gain == 0.5) return t;
    return gainCurveGuarded(t, (1.0 / gain) - 2.0);
}

}  // namespace qev
