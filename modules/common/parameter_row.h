// One row of a module's parameter table: the ParamInfo fields a module writes for one parameter.
// Fields a row leaves unset keep whatever the host put in the record.
#pragma once

#include <cfloat>
#include <cstdint>

#include "host_records.h"

namespace qev {

constexpr int32_t kNoModeCode = -1;

struct ParameterRow {
    ParamType type = NumberBox;
    const char* caption = nullptr;
    bool isInput = true;
    bool hasBounds = false;  // writes minValue and maxValue
    float minValue = 0.0f;
    float maxValue = 0.0f;
    bool hasDefault = false;  // writes defaultValue
    float defaultValue = 0.0f;
    const char* format = nullptr;     // null: not written
    const char* listItems = nullptr;  // null: not written
    bool isSetting = false;           // writes settingFlag 0
    int32_t modeCode = kNoModeCode;   // kNoModeCode: not written
    bool startsGroup = false;         // writes startsGroup 1

    constexpr ParameterRow asSetting() const {
        ParameterRow row = *this;
        row.isSetting = true;
        return row;
    }
    constexpr ParameterRow startingGroup() const {
        ParameterRow row = *this;
        row.startsGroup = true;
        return row;
    }
    constexpr ParameterRow withModeCode(int32_t code) const {
        ParameterRow row = *this;
        row.modeCode = code;
        return row;
    }
};

// A numeric parameter with bounds, default and format; an inlet unless isInput is false.
constexpr ParameterRow numericRow(ParamType type, const char* caption, float minValue,
                                  float maxValue, float defaultValue, const char* format,
                                  bool isInput = true) {
    ParameterRow row;
    row.type = type;
    row.caption = caption;
    row.isInput = isInput;
    row.hasBounds = true;
    row.minValue = minValue;
    row.maxValue = maxValue;
    row.hasDefault = true;
    row.defaultValue = defaultValue;
    row.format = format;
    return row;
}

// Writes exactly the fields the row names into the host's record.
inline void writeParameterRow(const ParameterRow& row, ParamInfo* param) {
    param->paramType = row.type;
    param->caption = row.caption;
    param->isInput = row.isInput ? 1 : 0;
    param->isOutput = row.isInput ? 0 : 1;
    param->commonFlag = 1;
    if (row.hasBounds) {
        param->minValue = row.minValue;
        param->maxValue = row.maxValue;
    }
    if (row.hasDefault) param->defaultValue = row.defaultValue;
    if (row.format) param->format = row.format;
    if (row.listItems) param->listItems = row.listItems;
    if (row.isSetting) param->settingFlag = 0;
    if (row.modeCode != kNoModeCode) param->modeCode = row.modeCode;
    if (row.startsGroup) param->startsGroup = 1;
}

// Bounds shared by both modules. The three small bounds are the floats nearest to 2e-8, 0.00002
// and 0.99998 (bits 0x32abcc77, 0x37a7c5ac and 0x3f7ffeb0).
constexpr float kUnbounded = FLT_MAX;
constexpr float kMinScale = 2e-8f;
constexpr float kMinShape = 0.00002f;
constexpr float kMaxShape = 0.99998f;

}  // namespace qev
