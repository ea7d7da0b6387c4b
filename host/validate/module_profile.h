// A module's parameters as the validator drives them, read from its description: which inlets
// take values and over which range, which are buttons, which outlets carry values or arrays, and
// where the seed and the output range are.
#pragma once

#include <cstdint>
#include <vector>

#include "qevhost/description.h"

namespace qevhost::validate {

enum class InputKind { Number, List, Button };

struct InputParam {
    int32_t index = 0;
    InputKind kind = InputKind::Number;
    float minValue = 0.0f, maxValue = 0.0f, defaultValue = 0.0f;
    int32_t itemCount = 0;  // List only
};

struct OutputParam {
    int32_t index = 0;
    bool isArray = false;
    bool wholeNumbers = false;  // shown without decimals ("%.0f"): holds rounded values
};

struct ModuleProfile {
    int32_t paramCount = 0;
    std::vector<InputParam> inputs;  // inlets that take a value, in index order
    std::vector<int32_t> buttons;    // inlets that only send a message
    std::vector<OutputParam> outputs;
    int32_t seed = -1;  // "Random Seed", or -1
    int32_t outputMin = -1, outputMax = -1;

    // The value every parameter starts with: its default, 0 without one.
    std::vector<float> defaults() const;
    const InputParam* input(int32_t index) const;
};

ModuleProfile profileOf(const ModuleDescription& description);

}  // namespace qevhost::validate
