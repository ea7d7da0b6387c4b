#include "text_format.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>

namespace qevhost::cli {

std::string formatFloat(float value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    // The shortest digits that read back as the same float ("0.1", not "0.100000001"), laid out
    // as %g lays them out: an exponent below 1e-4 and from the digit count upward.
    char text[64];
    const auto scientific =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::scientific);
    if (!std::isfinite(value)) return std::string(text, scientific.ptr);
    *scientific.ptr = '\0';
    char* e = std::find(text, scientific.ptr, 'e');
    const int exponent = std::atoi(e + 1);
    const auto digits = std::count_if(text, e, [](char c) { return c >= '0' && c <= '9'; });
    std::to_chars_result fixed;
    if (std::fabs(value) >= 1 && std::fabs(value) < 1e9f && digits <= exponent) {
        // Whole numbers below 1e9 print in full, without an exponent: 20, not 2e+01.
        fixed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 0);
    } else if (exponent < -4 || exponent >= digits) {
        return std::string(text, scientific.ptr);
    } else {
        fixed = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    }
    return std::string(text, fixed.ptr);
}

std::string formatBound(float value) {
    if (value == FLT_MAX) return "FLT_MAX";
    if (value == -FLT_MAX) return "-FLT_MAX";
    return formatFloat(value);
}

std::string orDash(const std::optional<std::string>& text) {
    return text ? *text : "-";
}

std::string alignColumns(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) line += "  ";
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - row[c].size(), ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string csvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\n") == std::string::npos) {
            line += cell;
            continue;
        }
        line += '"';
        for (char c : cell) line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line + "\n";
}

void printMessage(const std::string& text) {
    std::cerr << "qevhost: " << text << std::endl;
}

}  // namespace qevhost::cli
