// Reading a number as the command line writes it; shared with the explorer page, which reads its
// boxes exactly as `qevhost run` reads --set and --input.
#pragma once

#include <optional>
#include <string>

namespace qevhost::cli {

// Parses a whole string as a number (strtod syntax); nullopt if anything is left over.
std::optional<double> parseNumber(const std::string& text);

}  // namespace qevhost::cli
