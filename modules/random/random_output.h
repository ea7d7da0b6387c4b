// The value Qev Random writes to "Output" for one "Input", from the values of its settings as
// read. The module computes every block through this, and so does the seed search, so that a
// searched curve is the module's own, bit for bit.
#pragma once

#include "noise.h"
#include "output_bounds.h"

namespace qev {

// The settings Process uses, as read from the host (floats widened to double).
struct RandomSettings {
    double octaves = 1, noiseBias = 0.5, noiseGain = 0.5, noiseMin = -1, noiseMax = 1, fade = 0;
    double scale = 1, offset = 0, outputMin = 0, outputMax = 1;
};

inline float randomOutput(double input, const RandomSettings& s, const RandomTable& table,
                          OctaveSum& octaveSum) {
    OctaveSettings settings;
    settings.octaves = s.octaves;
    settings.bias = s.noiseBias;
    settings.gain = s.noiseGain;
    settings.fadeWindow = s.fade * 0.5;
    const double base = (s.offset + input) * s.scale;
    const double sum = octaveSum(base, settings, table);
    const double t = normaliseNoise(sum, s.noiseMin, s.noiseMax);
    const double value =
        OutputBounds(s.outputMin, s.outputMax).clamp(mapOutputRange(t, s.outputMin, s.outputMax));
    return static_cast<float>(value);
}

}  // namespace qev
