// The eleven noise settings both modules describe alike, from "Random Seed" to "Output Max".
#pragma once

#include <cstdint>

#include "parameter_row.h"

namespace qev {

constexpr int32_t kSeedModeCode = 2;

constexpr ParameterRow kSeedRow =
    numericRow(NumberBox, "Random Seed", -kUnbounded, kUnbounded, 42.0f, "%.0f")
        .withModeCode(kSeedModeCode)
        .startingGroup();
constexpr ParameterRow kScaleRow =
    numericRow(NumberBox, "Scale", kMinScale, kUnbounded, 1.0f, "%.8f").asSetting();
constexpr ParameterRow kOffsetRow =
    numericRow(NumberBox, "Offset", -kUnbounded, kUnbounded, 0.0f, "%.8f").asSetting();
constexpr ParameterRow kOctavesRow =
    numericRow(Fader, "Octaves", 0.0f, 16.0f, 1.0f, "%.5f").asSetting();
constexpr ParameterRow kNoiseMinRow =
    numericRow(Fader, "Noise Min", -2.0f, 2.0f, -1.0f, "%.5f").asSetting().startingGroup();
constexpr ParameterRow kNoiseMaxRow =
    numericRow(Fader, "Noise Max", -2.0f, 2.0f, 1.0f, "%.5f").asSetting();
constexpr ParameterRow kFadeRow =
    numericRow(Fader, "Fade", 0.0f, 1.0f, 0.0f, "%.5f").asSetting().startingGroup();
constexpr ParameterRow kNoiseBiasRow =
    numericRow(Fader, "Noise Bias", kMinShape, kMaxShape, 0.5f, "%.5f").asSetting();
constexpr ParameterRow kNoiseGainRow =
    numericRow(Fader, "Noise Gain", kMinShape, kMaxShape, 0.5f, "%.5f").asSetting();
constexpr ParameterRow kOutputMinRow =
    numericRow(NumberBox, "Output Min", -kUnbounded, kUnbounded, 0.0f, "%.5f")
        .asSetting()
        .startingGroup();
constexpr ParameterRow kOutputMaxRow =
    numericRow(NumberBox, "Output Max", -kUnbounded, kUnbounded, 1.0f, "%.5f").asSetting();

}  // namespace qev
