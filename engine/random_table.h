// RandomTable: 9973 random integers read as one-dimensional value noise. Cells map onto entries
// 0 ... 9970 (a 9971-cell repetition); entry 9971 is only the next neighbour of entry 9970.
#pragma once

#include <cstdint>

#include "seeded_generator.h"

namespace qev {

// The seed a table was last built from; empty until the first build.
struct SeedCache {
    bool valid = false;
    int32_t seed = 0;
};

class RandomTable {
  public:
    static constexpr int kSize = 9973;
    static constexpr int kCellModulus = 9971;

    // Rebuilds the table from seed unless the cache already holds that seed. Returns whether it
    // rebuilt. Draws 9973 doubles; allocates nothing.
    bool reseed(int32_t seed, SeededGenerator& generator, SeedCache& lastSeed);

    // One octave at one position: the cell's entry, blended with its neighbour within fadeWindow
    // of either end of the cell, divided by 9973. Any position gives an in-bounds read.
    double sampleCell(double position, double bias, double gain, double fadeWindow) const;

    // The table entry a cell number maps to; cell may be any whole number held in a double.
    static int32_t cellIndex(double cell);

    int32_t operator[](int index) const { return entries_[index]; }
    const int32_t* data() const { return entries_; }

  private:
    // Zero until the first build, so a module driven before initialisation reads defined values.
    int32_t entries_[kSize] = {};
};

// Schlick's rational bias curve; 0.5 leaves t unchanged.
double applyBias(double t, double bias);

// Schlick's rational gain curve; 0.5 leaves t unchanged.
double applyGain(double t, double gain);

}  // namespace qev
