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

}  // namespace

RandomTable::RandomTable() {
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
      gainFactor((1.0 / gain) - 2.0) {}

bool RandomTable::reseed(int32_t seed, SeededGenerator& generator, SeedCache& lastSeed) {
    if (lastSeed.valid && lastSeed.seed == seed) return false;
    lastSeed.valid = true;
    lastSeed.seed = seed;
    generator.seedGenerator(static_cast<uint32_t>(seed));
    double draws[kDrawChunk];
    for (int i = 0; i < kSize; i += kDrawChunk) {
        const int count = kSize - i < kDrawChunk ? kSize - i : kDrawChunk;
        generator.drawDoubles(draws, count);
        int j = 0;
#if defined(__SSE2__)
        // Two at a time: the same product and the same truncation (values in [0, 9973]).
        for (; j + 2 <= count; j += 2) {
            const __m128d scaled = _mm_mul_pd(_mm_loadu_pd(draws + j), _mm_set1_pd(kScale));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(entries_ + i + j),
                             _mm_cvttpd_epi32(scaled));
        }
#endif
        for (; j < count; ++j) entries_[i + j] = tableEntry(draws[j]);
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

double applyBias(double t, double bias) {
    if (bias == 0.5) return t;
    return biasCurve(t, (1.0 / bias) - 2.0);
}

double applyGain(double t, double gain) {
    if (gain == 0.5) return t;
    return gainCurve(t, (1.0 / gain) - 2.0);
}

}  // namespace qev
