// The 13 parameters of Qev Random, by index: "Input", eleven settings, "Output".
#pragma once

#include <cstdint>

#include "parameter_row.h"

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

constexpr int32_t kSeedModeCode = 2;

constexpr ParameterRow kRandomParameters[kRandomParamCount] = {
    numericRow(NumberBox, "Input", -kUnbounded, kUnbounded, 0.0f, "%.8f"),
    numericRow(NumberBox, "Random Seed", -kUnbounded, kUnbounded, 42.0f, "%.0f")
        .withModeCode(kSeedModeCode)
        .startingGroup(),
    numericRow(NumberBox, "Scale", kMinScale, kUnbounded, 1.0f, "%.8f").asSetting(),
    numericRow(NumberBox, "Offset", -kUnbounded, kUnbounded, 0.0f, "%.8f").asSetting(),
    numericRow(Fader, "Octaves", 0.0f, 16.0f, 1.0f, "%.5f").asSetting(),
    numericRow(Fader, "Noise Min", -2.0f, 2.0f, -1.0f, "%.5f").asSetting().startingGroup(),
    numericRow(Fader, "Noise Max", -2.0f, 2.0f, 1.0f, "%.5f").asSetting(),
    numericRow(Fader, "Fade", 0.0f, 1.0f, 0.0f, "%.5f").asSetting().startingGroup(),
    numericRow(Fader, "Noise Bias", kMinShape, kMaxShape, 0.5f, "%.5f").asSetting(),
    numericRow(Fader, "Noise Gain", kMinShape, kMaxShape, 0.5f, "%.5f").asSetting(),
    numericRow(NumberBox, "Output Min", -kUnbounded, kUnbounded, 0.0f, "%.5f")
        .asSetting()
        .startingGroup(),
    numericRow(NumberBox, "Output Max", -kUnbounded, kUnbounded, 1.0f, "%.5f").asSetting(),
    numericRow(NumberBox, "Output", -kUnbounded, kUnbounded, 0.5f, "%.8f", false).startingGroup(),
};

}  // namespace qev
