// The value Qev Random writes to "Output" for one "Input", from the values of its settings as
// read. The module computes every block through this, and so does the seed search, so that a
// searched curve is the module's own, bit for bit.
#pragma once

#include <cstdint>

#include "noise.h"
#include "noise_block.h"
#include "output_bounds.h"

namespace qev {

// The settings Process uses, as read from the host (floats widened to double).
struct RandomSettings {
    double octaves = 1, noiseBias = 0.5, noiseGain = 0.5, noiseMin = -1, noiseMax = 1, fade = 0;
    double scale = 1, offset = 0, outputMin = 0, outputMax = 1;
};

inline OctaveSettings randomOctaves(const RandomSettings& s) {
    OctaveSettings settings;
    settings.octaves = s.octaves;
    settings.bias = s.noiseBias;
    settings.gain = s.noiseGain;
    settings.fadeWindow = s.fade * 0.5;
    return settings;
}

// The position on the noise line: the input shifted first, the shifted value scaled.
inline double randomBase(double input, const RandomSettings& s) {
    return (s.offset + input) * s.scale;
}

inline float randomOutput(double input, const RandomSettings& s, const RandomTable& table,
                          OctaveSum& octaveSum) {
    const double sum = octaveSum(randomBase(input, s), randomOctaves(s), table);
    const double t = normaliseNoise(sum, s.noiseMin, s.noiseMax);
    const double value =
        OutputBounds(s.outputMin, s.outputMax).clamp(mapOutputRange(t, s.outputMin, s.outputMax));
    return static_cast<float>(value);
}

// randomOutput for each of `count` inputs, many at a time (four at a time where the processor
// runs AVX2): the same bits, for a caller that wants a whole curve at once.
inline void randomOutputs(const float* inputs, int32_t count, const RandomSettings& s,
                          const RandomTable& table, float* outputs) {
    constexpr int32_t kBlock = 256;
    NoiseBlockSettings block;
    block.octaves = randomOctaves(s);
    block.noiseMin = s.noiseMin;
    block.noiseMax = s.noiseMax;
    block.outputMin = s.outputMin;
    block.outputRange = s.outputMax - s.outputMin;
    const OutputBounds bounds(s.outputMin, s.outputMax);
    double bases[kBlock], values[kBlock];
    float integers[kBlock];
    for (int32_t first = 0; first < count; first += kBlock) {
        const int32_t n = count - first < kBlock ? count - first : kBlock;
        for (int32_t j = 0; j < n; ++j) bases[j] = randomBase(inputs[first + j], s);
        computeNoiseAt(block, table, bases, n, values);
        finishElements(values, n, bounds.low, bounds.high, outputs + first, integers);
    }
}

}  // namespace qev
