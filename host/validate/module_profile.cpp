#include "module_profile.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace qevhost::validate {

namespace {

// A declared bound, or the widest float where the module declares none or an unusable one.
float boundOr(const std::optional<float>& bound, float fallback) {
    return bound && !std::isnan(*bound) ? *bound : fallback;
}

InputParam inputOf(const ParamDescription& p) {
    InputParam in;
    in.index = p.index;
    const int32_t type = p.paramType.value_or(0);
    if (type == Button) {
        in.kind = InputKind::Button;
        return in;
    }
    if (type == ListBox) {
        in.kind = InputKind::List;
        in.itemCount = static_cast<int32_t>(p.items().size());
        in.minValue = 0.0f;
        in.maxValue = static_cast<float>(in.itemCount > 0 ? in.itemCount - 1 : 0);
    } else {
        in.minValue = boundOr(p.minValue, -FLT_MAX);
        in.maxValue = boundOr(p.maxValue, FLT_MAX);
        if (in.minValue > in.maxValue) std::swap(in.minValue, in.maxValue);
    }
    in.defaultValue = p.defaultValue.value_or(in.minValue);
    return in;
}

}  // namespace

std::vector<float> ModuleProfile::defaults() const {
    std::vector<float> values(static_cast<std::size_t>(paramCount), 0.0f);
    for (const auto& in : inputs) values[static_cast<std::size_t>(in.index)] = in.defaultValue;
    return values;
}

const InputParam* ModuleProfile::input(int32_t index) const {
    for (const auto& in : inputs) {
        if (in.index == index) return &in;
    }
    return nullptr;
}

ModuleProfile profileOf(const ModuleDescription& description) {
    ModuleProfile profile;
    profile.paramCount = static_cast<int32_t>(description.params.size());
    for (const auto& p : description.params) {
        if (p.input()) {
            InputParam in = inputOf(p);
            if (in.kind == InputKind::Button) {
                profile.buttons.push_back(p.index);
            } else {
                profile.inputs.push_back(in);
            }
        } else if (p.output()) {
            OutputParam out;
            out.index = p.index;
            out.isArray = p.paramType.value_or(0) == DataArray;
            out.wholeNumbers = p.format.value_or("") == "%.0f";
            profile.outputs.push_back(out);
        }
    }
    profile.seed = description.indexOf("Random Seed");
    profile.outputMin = description.indexOf("Output Min");
    profile.outputMax = description.indexOf("Output Max");
    return profile;
}

}  // namespace qevhost::validate
