#include "settings.h"

#include <cctype>

#include "cli_errors.h"
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

std::string describeNonDefaults(const ModuleDescription& module, const std::vector<float>& values,
                                int32_t skipIndex) {
    std::string text;
    for (const auto& p : module.params) {
        const auto i = static_cast<std::size_t>(p.index);
        if (p.index == skipIndex || !p.input() || i >= values.size()) continue;
        if (p.paramType == Button || !p.defaultValue) continue;
        const float value = values[i];
        if (value == *p.defaultValue) continue;
        std::string shown = formatFloat(value);
        const auto items = p.items();
        if (p.paramType == ListBox && value >= 0 && value < static_cast<float>(items.size())) {
            shown = items[static_cast<std::size_t>(value)];
        }
        text += (text.empty() ? "" : ", ") + p.caption.value_or("?") + " " + shown;
    }
    return text;
}

}  // namespace qevhost::cli
