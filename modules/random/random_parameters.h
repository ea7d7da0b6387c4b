// The 13 parameters of Qev Random, by index: "Input", eleven settings, "Output".
#pragma once

#include <cstdint>

#include "noise_setting_rows.h"

namespace qev {

enum RandomParam : int32_t {
    kInput = 0,
    kRandomSeed,
    kScale,
    kOffset,
    kOctaves,
    kNoiseMin,
    kNoiseMax,
    kFade,
    kNoiseBias,
    kNoiseGain,
    kOutputMin,
    kOutputMax,
    kOutput,
    kRandomParamCount
};

constexpr ParameterRow kRandomParameters[kRandomParamCount] = {
    numericRow(NumberBox, "Input", -kUnbounded, kUnbounded, 0.0f, "%.8f"),
    kSeedRow,
    kScaleRow,
    kOffsetRow,
    kOctavesRow,
    kNoiseMinRow,
    kNoiseMaxRow,
    kFadeRow,
    kNoiseBiasRow,
    kNoiseGainRow,
    kOutputMinRow,
    kOutputMaxRow,
    numericRow(NumberBox, "Output", -kUnbounded, kUnbounded, 0.5f, "%.8f", false).startingGroup(),
};

}  // namespace qev
