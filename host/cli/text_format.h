// Turning values into text for the terminal and for CSV.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qevhost::cli {

// The shortest text that reads back as the same float, in %g layout; NaN as "nan".
std::string formatFloat(float value);
// formatFloat, with the largest finite float shown as FLT_MAX (and -FLT_MAX).
std::string formatBound(float value);
// The text, or "-" for a missing value.
std::string orDash(const std::optional<std::string>& text);

// Columns padded to their widest cell, separated by two spaces; trailing blanks trimmed.
std::string alignColumns(const std::vector<std::vector<std::string>>& rows);

// One CSV line; cells with a comma, quote or newline are quoted.
std::string csvLine(const std::vector<std::string>& cells);

// Line written to stderr, prefixed with the program name.
void printMessage(const std::string& text);

}  // namespace qevhost::cli
