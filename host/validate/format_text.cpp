#include "format_text.h"

#include <cctype>
#include <cstring>

namespace qevhost::validate {

bool singleFloatConversion(const std::string& format) {
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (++i < format.size() && format[i] == '%') continue;
        // flags, width, precision: no '*' (the module passes no extra argument)
        while (i < format.size() && std::strchr("-+ #0", format[i])) ++i;
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
        }
        if (i < format.size() && format[i] == 'l') ++i;  // "%lf" is a double too
        if (i >= format.size() || !std::strchr("fFeEgGaA", format[i])) return false;
        ++conversions;
    }
    return conversions == 1;
}

bool wellFormedListItems(const std::string& items) {
    std::size_t i = 0;
    for (;;) {
        if (i >= items.size() || items[i] != '"') return false;
        const std::size_t close = items.find('"', i + 1);
        if (close == std::string::npos || close == i + 1) return false;
        i = close + 1;
        if (i == items.size()) return true;
        if (items[i] != ',') return false;
        ++i;
    }
}

}  // namespace qevhost::validate
