#include "input_ramp.h"

#include <cmath>

#include "cli_errors.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

constexpr double kMaxBlocks = 1000000;

double number(const std::string& text, const std::string& whole) {
    if (auto value = parseNumber(text); value && std::isfinite(*value)) return *value;
    throw CliError("--input " + whole + ": \"" + text + "\" is not a number");
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::vector<float> parseInputs(const std::string& text) {
    std::vector<float> inputs;
    if (text.find(':') == std::string::npos) {
        for (const auto& part : split(text, ',')) {
            inputs.push_back(static_cast<float>(number(part, text)));
        }
        return inputs;
    }
    const auto parts = split(text, ':');
    if (parts.size() != 3) throw CliError("--input takes FROM:TO:STEP or A,B,...; got " + text);
    const double from = number(parts[0], text), to = number(parts[1], text);
    const double step = number(parts[2], text);
    const double steps = (to - from) / step;
    if (step == 0 || steps < 0 || !std::isfinite(steps)) {
        throw CliError("--input " + text + ": the step must lead from FROM to TO");
    }
    const double count = std::floor(steps + 1e-9) + 1;
    if (count > kMaxBlocks) {
        throw CliError("--input " + text + " gives more than 1000000 blocks");
    }
    for (int i = 0; i < static_cast<int>(count); ++i) {
        inputs.push_back(static_cast<float>(from + i * step));
    }
    return inputs;
}

}  // namespace qevhost::cli
