// RandomTable: 9973 random integers read as one-dimensional value noise. Cells map onto entries
// 0 ... 9970 (a 9971-cell repetition); entry 9971 is only the next neighbour of entry 9970.
#pragma once

#include <cmath>
#include <cstdint>

#include "exact_divisor.h"
#include "seeded_generator.h"

namespace qev {

// The seed a table was last built from; empty until the first build.
struct SeedCache {
    bool valid = false;
    int32_t seed = 0;
};

// The blend settings of sampleCell with everything that does not depend on the position worked
// out once: the same operations on the same values, so the same bits as working them out per call.
struct CellBlend {
    CellBlend(double bias, double gain, double fadeWindow);

    bool blends;          // fadeWindow > 0; a NaN window does not blend
    double fadeWindow;    // the start zone is frac < fadeWindow
    double windowEnd;     // 1 - fadeWindow; the end zone is frac > windowEnd
    ExactDivisor window;  // divides by fadeWindow
    bool shapesBias;      // bias != 0.5
    double biasFactor;    // 1 / bias - 2
    bool shapesGain;      // gain != 0.5
    double gainFactor;    // 1 / gain - 2
    // No blend, or bias and gain each neutral or inside (0, 1): the plain curves then keep every
    // weight finite. Other finite settings (a wire sends any float) take the guarded curves; NaN
    // settings keep the plain ones.
    bool boundedCurves;
};

class RandomTable {
  public:
    static constexpr int kSize = 9973;
    static constexpr int kCellModulus = 9971;
    static constexpr double kScale = 9973.0;
    // Entry used for NaN and infinite positions, where no cell exists; they never blend.
    static constexpr int32_t kNonFiniteIndex = 0;
    // The neighbour before entry 0 continues the 9971-cell repetition.
    static constexpr int32_t kEntryBeforeFirst = kCellModulus - 1;

    // Makes the process's one choice of vector paths, the first time any table is made.
    RandomTable();

    // Rebuilds the table from seed unless the cache already holds that seed. Returns whether it
    // rebuilt. Draws 9973 doubles and divides each entry by 9973 once; allocates nothing.
    bool reseed(int32_t seed, SeededGenerator& generator, SeedCache& lastSeed);

    // One octave at one position: the cell's entry, blended with its neighbour within fadeWindow
    // of either end of the cell, divided by 9973. Any position gives an in-bounds read.
    double sampleCell(double position, double bias, double gain, double fadeWindow) const {
        return sampleCell(position, CellBlend(bias, gain, fadeWindow));
    }
    double sampleCell(double position, const CellBlend& blend) const {
        return cellSample<false>(position, blend);
    }
    // (sampleCell - 0.5) * 2, what one octave adds to the sum before its weight; a cell that does
    // not blend reads it from the per-seed table instead of dividing.
    double scaledSampleCell(double position, const CellBlend& blend) const {
        return cellSample<true>(position, blend);
    }

    // The table entry a cell number maps to; cell may be any whole number held in a double.
    static int32_t cellIndex(double cell);
    // The same mapping for a cell that a 32-bit integer holds, in integer arithmetic.
    static int32_t cellIndex32(int32_t cell) {
        int32_t index = cell % kCellModulus;  // truncating: the sign follows the cell
        if (cell < 0) {
            index += kSize;  // in (2, 9973]
            if (index >= kCellModulus) index -= kCellModulus;
        }
        return index;
    }

    int32_t operator[](int index) const { return paddedEntries_[index + 1]; }
    // The entries, 16 bits each (they are at most 9973), one place on: element 0 is entry 9970,
    // the neighbour before entry 0, and element i + 1 is entry i. So the two 16-bit elements
    // from i on are the neighbours of a blend from the previous entry into cell index i (from
    // i + 1, toward the next entry): one 32-bit read holds the low entry in its low half and the
    // high one in its high half.
    const uint16_t* paddedEntries() const { return paddedEntries_; }
    // (entry / 9973 - 0.5) * 2 for every entry: what a whole entry adds to the octave sum before
    // its weight, divided once per table with the same division.
    const double* scaledSamples() const { return scaledSamples_; }
    // The offset table[k & 9972] of octave k as a double, for k = 16 down to 1 and then three more
    // copies of octave 1's (kOctaveOffsetPadding), so that four consecutive octaves counted down
    // from any k >= 1 can be read at once.
    static constexpr int kOctaveOffsetPadding = 3;
    const double* octaveOffsetsFrom(int32_t octave) const { return octaveOffsets_ + (16 - octave); }

  private:
    // The sample of one octave, or with kScaled (sample - 0.5) * 2.
    template <bool kScaled>
    inline double cellSample(double position, const CellBlend& blend) const;

    // The cell index and the position's offset into the cell, for positions beyond 32-bit cells.
    static int32_t wideCell(double position, double& frac);

    // The sample between entries `from` and `to` at weight t, shaped by the guarded curves.
    static double guardedSample(double from, double to, double t, const CellBlend& blend);

    // Zero until the first build, so a module driven before initialisation reads defined values.
    uint16_t paddedEntries_[kSize + 1] = {};
    double scaledSamples_[kSize];  // -1 (the scaled sample of entry 0) until the first build
    double octaveOffsets_[16 + kOctaveOffsetPadding] = {};
};

// Schlick's rational bias curve; 0.5 leaves t unchanged.
double applyBias(double t, double bias);

// Schlick's rational gain curve; 0.5 leaves t unchanged.
double applyGain(double t, double gain);

// The curves with their factor 1/b - 2 (or 1/g - 2) already worked out. With a bias and gain in
// (0, 1) no operation meets 0 * inf, inf / inf or 0 / 0.
inline double biasCurve(double t, double factor) {
    return t / (factor * (1.0 - t) + 1.0);
}
inline double gainCurve(double t, double factor) {
    const double w = (1.0 - t * 2.0) * factor;
    if (t < 0.5) return t / (w + 1.0);
    return (w - t) / (w - 1.0);
}

// The same curves for any factor: where the plain formula meets 0 * inf, inf / inf or 0 / 0 they
// give the value the curve tends to there; everywhere else the plain formula's bits.
double biasCurveGuarded(double t, double factor);
double gainCurveGuarded(double t, double factor);

template <bool kScaled>
double RandomTable::cellSample(double position, const CellBlend& blend) const {
    const auto scaled = [](double sample) { return kScaled ? (sample - 0.5) * 2.0 : sample; };
    int32_t index;
    double frac;
    if (position >= -0x1p31 && position < 0x1p31) {
        // floor in 32-bit integers: truncate, then step down below zero.
        int32_t cell = static_cast<int32_t>(position);
        if (static_cast<double>(cell) > position) --cell;
        frac = position - static_cast<double>(cell);
        index = cellIndex32(cell);
    } else if (std::isfinite(position)) {
        index = wideCell(position, frac);
    } else {
        return scaled(paddedEntries_[kNonFiniteIndex + 1] / kScale);
    }
    double value = paddedEntries_[index + 1];
    if (blend.blends) {
        if (frac < blend.fadeWindow) {
            double t = blend.window.divide(frac) * 0.5 + 0.5;
            const double previous = paddedEntries_[index];  // entry 9970 before entry 0
            if (!blend.boundedCurves) return scaled(guardedSample(previous, value, t, blend));
            if (blend.shapesBias) t = biasCurve(t, blend.biasFactor);
            if (blend.shapesGain) t = gainCurve(t, blend.gainFactor);
            value = (value - previous) * t + previous;
        } else if (frac > blend.windowEnd) {
            double t = blend.window.divide(frac - blend.windowEnd) * 0.5;
            const double next = paddedEntries_[index + 2];
            if (!blend.boundedCurves) return scaled(guardedSample(value, next, t, blend));
            if (blend.shapesBias) t = biasCurve(t, blend.biasFactor);
            if (blend.shapesGain) t = gainCurve(t, blend.gainFactor);
            value = (next - value) * t + value;
        } else if (kScaled) {
            return scaledSamples_[index];
        }
        return scaled(value / kScale);
    }
    if (kScaled) return scaledSamples_[index];
    return value / kScale;
}

}  // namespace qev
