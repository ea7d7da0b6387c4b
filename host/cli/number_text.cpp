#include "number_text.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace qevhost::cli {

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return value;  // overflow gives +-HUGE_VAL, a value like any other for a wire
}

}  // namespace qevhost::cli
