// The 16 parameters of Qev RandomArray, by index: "Mode", the button, twelve settings and the two
// array outlets.
#pragma once

#include <cstdint>

#include "parameter_row.h"

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

constexpr int32_t kSeedModeCode = 2;
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
    numericRow(Fader, "Array Size", 1.0f, 2048.0f, 16.0f, "%.0f").asSetting().startingGroup(),
    numericRow(DataArray, "Float Out", -kUnbounded, kUnbounded, 0.0f, nullptr, false)
        .startingGroup(),
    numericRow(DataArray, "Integer Out", -kUnbounded, kUnbounded, 0.0f, "%.0f", false),
};

}  // namespace qev
