#include "settings.h"

#include <algorithm>
#include <cctype>

#include "cli_errors.h"
#include "number_text.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

std::string allCaptions(const ModuleDescription& module) {
    std::string text;
    for (const auto& p : module.params) {
        text += (text.empty() ? "" : ", ") + ("\"" + p.caption.value_or("") + "\"");
    }
    return text;
}

bool isIndex(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

int32_t findParam(const ModuleDescription& module, const std::string& key) {
    if (isIndex(key)) {
        const int index = std::stoi(key);
        if (index < static_cast<int>(module.params.size())) return index;
    } else if (int index = module.indexOf(key); index >= 0) {
        return index;
    }
    throw CliError("unknown parameter \"" + key + "\"; parameters: " + allCaptions(module));
}

float parseValue(const ParamDescription& p, const std::string& text) {
    if (auto number = parseNumber(text)) return static_cast<float>(*number);
    const auto items = p.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (captionsMatch(items[i], text)) return static_cast<float>(i);
    }
    throw CliError("\"" + text + "\" is not a number (for " + p.caption.value_or("?") + ")");
}

// The value as a person reads it: a ListBox item by name, else the number.
std::string showValue(const ParamDescription& p, float value) {
    const auto items = p.items();
    if (p.paramType == ListBox && value >= 0 && value < static_cast<float>(items.size())) {
        return items[static_cast<std::size_t>(value)];
    }
    return formatFloat(value);
}

}  // namespace

std::vector<Setting> resolveSettings(const ModuleDescription& module,
                                     const std::vector<std::string>& sets) {
    std::vector<Setting> settings;
    for (const auto& set : sets) {
        const auto equals = set.find('=');
        if (equals == std::string::npos) {
            throw CliError("--set needs CAPTION=VALUE, got \"" + set + "\"");
        }
        const int32_t index = findParam(module, set.substr(0, equals));
        const ParamDescription& p = module.params[static_cast<std::size_t>(index)];
        const std::string caption = p.caption.value_or(std::to_string(index));
        if (!p.input()) throw CliError(caption + " is an output: --set takes inputs only");
        const float value = parseValue(p, set.substr(equals + 1));
        if ((p.minValue && value < *p.minValue) || (p.maxValue && value > *p.maxValue)) {
            printMessage("warning: " + caption + " " + formatFloat(value) + " is outside " +
                         formatBound(p.minValue.value_or(0)) + " to " +
                         formatBound(p.maxValue.value_or(0)) + "; passed on as given");
        }
        settings.push_back({index, value});
    }
    return settings;
}

Comparison resolveComparison(const ModuleDescription& module, const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || equals + 1 == text.size()) {
        throw CliError("--compare needs CAPTION=V1,V2,..., got \"" + text + "\"");
    }
    const std::string key = text.substr(0, equals);
    Comparison comparison;
    std::size_t start = equals + 1;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string value = text.substr(start, comma - start);
        comparison.settings.push_back(resolveSettings(module, {key + "=" + value})[0]);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    comparison.index = comparison.settings[0].index;
    const ParamDescription& p = module.params[static_cast<std::size_t>(comparison.index)];
    comparison.caption = p.caption.value_or(std::to_string(p.index));
    for (const auto& s : comparison.settings) comparison.shown.push_back(showValue(p, s.value));
    return comparison;
}

std::string describeNonDefaults(const ModuleDescription& module, const std::vector<float>& values,
                                const std::vector<int32_t>& skipped) {
    std::string text;
    for (const auto& p : module.params) {
        const auto i = static_cast<std::size_t>(p.index);
        if (!p.input() || i >= values.size()) continue;
        if (std::find(skipped.begin(), skipped.end(), p.index) != skipped.end()) continue;
        if (p.paramType == Button || !p.defaultValue) continue;
        if (values[i] == *p.defaultValue) continue;
        text +=
            (text.empty() ? "" : ", ") + p.caption.value_or("?") + " " + showValue(p, values[i]);
    }
    return text;
}

}  // namespace qevhost::cli
