#include "random_table.h"

#include <cmath>

namespace qev {

namespace {

constexpr double kTableScale = 9973.0;
// Entry used for NaN and infinite positions, where no cell exists.
constexpr int32_t kNonFiniteIndex = 0;
// The neighbour before entry 0 continues the 9971-cell repetition.
constexpr int32_t kEntryBeforeFirst = RandomTable::kCellModulus - 1;

// Truncates a draw in [0, 1] scaled by 9973: the value is in [0, 9973], so the cast is defined.
int32_t tableEntry(double draw) {
    return static_cast<int32_t>(draw * kTableScale);
}

}  // namespace

bool RandomTable::reseed(int32_t seed, SeededGenerator& generator, SeedCache& lastSeed) {
    if (lastSeed.valid && lastSeed.seed == seed) return false;
    lastSeed.valid = true;
    lastSeed.seed = seed;
    generator.seedGenerator(static_cast<uint32_t>(seed));
    for (int i = 0; i < kSize; ++i) entries_[i] = tableEntry(generator.drawDouble());
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

double RandomTable::sampleCell(double position, double bias, double gain, double fadeWindow) const {
    if (!std::isfinite(position)) return entries_[kNonFiniteIndex] / kTableScale;
    const double cell = std::floor(position);
    const double frac = position - cell;
    const int32_t index = cellIndex(cell);
    double value = entries_[index];
    if (fadeWindow > 0.0) {
        if (frac < fadeWindow) {
            double t = (frac / fadeWindow) * 0.5 + 0.5;
            t = applyGain(applyBias(t, bias), gain);
            const double previous = entries_[index > 0 ? index - 1 : kEntryBeforeFirst];
            value = (value - previous) * t + previous;
        } else if (frac > 1.0 - fadeWindow) {
            double t = ((frac - (1.0 - fadeWindow)) / fadeWindow) * 0.5;
            t = applyGain(applyBias(t, bias), gain);
            const double next = entries_[index + 1];
            value = (next - value) * t + value;
        }
    }
    return value / kTableScale;
}

double applyBias(double t, double bias) {
    if (bias == 0.5) return t;
    return t / (((1.0 / bias) - 2.0) * (1.0 - t) + 1.0);
}

double applyGain(double t, double gain) {
    if (gain == 0.5) return t;
    const double w = (1.0 - t * 2.0) * ((1.0 / gain) - 2.0);
    if (t < 0.5) return t / (w + 1.0);
    return (w - t) / (w - 1.0);
}

}  // namespace qev
