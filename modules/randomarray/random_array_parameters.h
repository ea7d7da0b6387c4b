// The 16 parameters of Qev RandomArray, by index: "Mode", the button, twelve settings and the two
// array outlets.
#pragma once

#include <cstdint>

#include "noise_setting_rows.h"

namespace qev {

enum RandomArrayParam : int32_t {
    kMode = 0,
    kCalculateArray,
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
    kArraySize,
    kFloatOut,
    kIntegerOut,
    kRandomArrayParamCount
};

// Values of "Mode".
constexpr int32_t kAutomaticUpdate = 0;
constexpr int32_t kUpdateOnClick = 1;

constexpr int32_t kButtonModeCode = 0;
constexpr int32_t kMaxArraySize = 2048;

constexpr ParameterRow modeRow() {
    ParameterRow row;
    row.type = ListBox;
    row.caption = "Mode";
    row.hasDefault = true;
    row.defaultValue = 0.0f;
    row.listItems = "\"Automatic Update\",\"Update on Click\"";
    return row;
}

constexpr ParameterRow buttonRow() {
    ParameterRow row;
    row.type = Button;
    row.caption = "Calculate Array";
    row.modeCode = kButtonModeCode;
    return row;
}

constexpr ParameterRow kRandomArrayParameters[kRandomArrayParamCount] = {
    modeRow(),
    buttonRow(),
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
    numericRow(Fader, "Array Size", 1.0f, 2048.0f, 16.0f, "%.0f").asSetting().startingGroup(),
    numericRow(DataArray, "Float Out", -kUnbounded, kUnbounded, 0.0f, nullptr, false)
        .startingGroup(),
    numericRow(DataArray, "Integer Out", -kUnbounded, kUnbounded, 0.0f, "%.0f", false),
};

}  // namespace qev
