// The values of "Input" for `run`, one per block.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qevhost::cli {

// FROM:TO:STEP (TO included when the ramp lands on it, within rounding; finite numbers) or a
// comma list A,B,C of any numbers, nan and inf included.
// Nothing, with `error` saying why, for text that is neither, a zero or backward step, or too
// many blocks. The explorer page reads its input range with it too.
std::optional<std::vector<float>> readInputs(const std::string& text, std::string& error);

// readInputs, throwing CliError with its reason.
std::vector<float> parseInputs(const std::string& text);

// The ramp used when no --input is given.
inline constexpr const char* kDefaultInputs = "0:20:0.125";

}  // namespace qevhost::cli
