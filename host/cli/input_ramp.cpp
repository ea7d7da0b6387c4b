#include "input_ramp.h"

#include <cmath>

#include "cli_errors.h"
#include "number_text.h"

namespace qevhost::cli {

namespace {

constexpr double kMaxBlocks = 1000000;

// A finite number, or nothing with `error` set.
std::optional<double> finiteNumber(const std::string& text, const std::string& whole,
                                   std::string& error) {
    if (auto value = parseNumber(text); value && std::isfinite(*value)) return value;
    error = "--input " + whole + ": \"" + text + "\" is not a number";
    return std::nullopt;
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

std::optional<std::vector<float>> readInputs(const std::string& text, std::string& error) {
    std::vector<float> inputs;
    if (text.find(':') == std::string::npos) {
        // A list takes any number a wire can carry, nan and inf included.
        for (const auto& part : split(text, ',')) {
            const auto value = parseNumber(part);
            if (!value) {
                error = "--input " + text + ": \"" + part + "\" is not a number";
                return std::nullopt;
            }
            inputs.push_back(static_cast<float>(*value));
        }
        return inputs;
    }
    const auto parts = split(text, ':');
    if (parts.size() != 3) {
        error = "--input takes FROM:TO:STEP or A,B,...; got " + text;
        return std::nullopt;
    }
    const auto from = finiteNumber(parts[0], text, error);
    const auto to = from ? finiteNumber(parts[1], text, error) : std::nullopt;
    const auto step = to ? finiteNumber(parts[2], text, error) : std::nullopt;
    if (!step) return std::nullopt;
    const double steps = (*to - *from) / *step;
    if (*step == 0 || steps < 0 || !std::isfinite(steps)) {
        error = "--input " + text + ": the step must lead from FROM to TO";
        return std::nullopt;
    }
    const double count = std::floor(steps + 1e-9) + 1;
    if (count > kMaxBlocks) {
        error = "--input " + text + " gives more than 1000000 blocks";
        return std::nullopt;
    }
    for (int i = 0; i < static_cast<int>(count); ++i) {
        inputs.push_back(static_cast<float>(*from + i * *step));
    }
    return inputs;
}

std::vector<float> parseInputs(const std::string& text) {
    std::string error;
    auto inputs = readInputs(text, error);
    if (!inputs) throw CliError(error);
    return std::move(*inputs);
}

}  // namespace qevhost::cli
