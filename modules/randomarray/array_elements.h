// What Qev RandomArray computes for its two arrays, from the values of its settings as read. The
// module fills its outlets through this, and so does the seed search, so that a searched array
// is the module's own, bit for bit.
#pragma once

#include <cmath>
#include <cstdint>

#include "noise_block.h"
#include "output_bounds.h"

namespace qev {

// The settings a computation uses, as read from the host (floats widened to double).
struct ArraySettings {
    double offset = 0, scale = 1, octaves = 1, noiseMin = -1, noiseMax = 1, fade = 0;
    double noiseBias = 0.5, noiseGain = 0.5, outputMin = 0, outputMax = 1;
};

class ArrayElements {
  public:
    // Elements computed per engine call: 2 KiB of doubles on the stack, and few enough calls
    // that the engine's per-call setup stays small next to the elements.
    static constexpr int32_t kBlockSize = 256;

    explicit ArrayElements(const ArraySettings& s) : bounds_(s.outputMin, s.outputMax) {
        // 100 table lengths: the offset is wrapped to this before it enters the positions.
        constexpr double kOffsetPeriod = 997300.0;
        block_.wrappedOffset = std::fmod(s.offset, kOffsetPeriod);
        block_.scale = s.scale;
        block_.octaves.octaves = s.octaves;
        block_.octaves.fadeWindow = s.fade * 0.5;
        block_.octaves.bias = s.noiseBias;
        block_.octaves.gain = s.noiseGain;
        block_.outputMin = s.outputMin;
        block_.outputRange = s.outputMax - s.outputMin;
        // A reversed noise window is used swapped, ordered once for every element.
        block_.noiseMin = s.noiseMin > s.noiseMax ? s.noiseMax : s.noiseMin;
        block_.noiseMax = s.noiseMin > s.noiseMax ? s.noiseMin : s.noiseMax;
    }

    // Elements first to first + count - 1 (count <= kBlockSize) of "Float Out" and "Integer
    // Out": each value kept within the output range, and the same rounded half away from zero.
    void compute(const RandomTable& table, int32_t first, int32_t count, float* floats,
                 float* integers) const {
        double values[kBlockSize];
        computeNoiseBlock(block_, table, first, count, values);
        finishElements(values, count, bounds_.low, bounds_.high, floats, integers);
    }

  private:
    NoiseBlockSettings block_;
    OutputBounds bounds_;
};

}  // namespace qev
