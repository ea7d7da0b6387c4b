#include "float_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace explorer {

namespace {

struct Decimal {
    long long digits;  // without trailing zeros
    int exponent;      // of the first digit: digits d.ddd x 10^exponent
    int count;         // number of digits
};

bool readsBack(long long digits, int count, int exponent, float value) {
    char text[48];
    std::snprintf(text, sizeof text, "%llde%d", digits, exponent - (count - 1));
    return std::strtof(text, nullptr) == value;
}

Decimal trimmed(long long digits, int count, int exponent) {
    while (count > 1 && digits % 10 == 0) {
        digits /= 10;
        --count;
    }
    return {digits, exponent, count};
}

// The shortest digits that read back as the value; of two such at one length, the nearer one.
Decimal shortest(float value) {
    const double exact = std::fabs(static_cast<double>(value));
    for (int count = 1; count <= 9; ++count) {
        char text[48];
        std::snprintf(text, sizeof text, "%.*e", count - 1, exact);
        const int exponent = std::atoi(std::strchr(text, 'e') + 1);
        long long digits = 0;
        for (const char* c = text; *c != 'e'; ++c) {
            if (*c >= '0' && *c <= '9') digits = digits * 10 + (*c - '0');
        }
        if (readsBack(digits, count, exponent, std::fabs(value))) {
            return trimmed(digits, count, exponent);
        }
        // The nearest one at this length missed; its neighbour on the other side of the value
        // can still read back where the float's interval is wider on that side.
        char nearest[48];
        std::snprintf(nearest, sizeof nearest, "%llde%d", digits, exponent - (count - 1));
        const bool below = std::strtod(nearest, nullptr) < exact;
        long long other = digits + (below ? 1 : -1);
        int otherExponent = exponent;
        int otherCount = count;
        long long top = 1;
        for (int i = 0; i < count; ++i) top *= 10;
        if (other == top) {  // 9.99 up to 10.0
            other = top / 10;
            ++otherExponent;
        } else if (other < top / 10) {  // 1.00 down to 0.999
            other = top - 1;
            --otherExponent;
        }
        if (other > 0 && readsBack(other, otherCount, otherExponent, std::fabs(value))) {
            return trimmed(other, otherCount, otherExponent);
        }
    }
    return {0, 0, 1};  // not reached: nine digits always read back
}

}  // namespace

std::string formatFloat(float value) {
    if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isinf(value)) return sign + "inf";
    if (value == 0) return sign + "0";
    const Decimal d = shortest(value);
    const std::string digits = std::to_string(d.digits);
    if (std::fabs(value) >= 1 && std::fabs(value) < 1e9f && d.count <= d.exponent) {
        char text[48];
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
        return text;
    }
    if (d.exponent < -4 || d.exponent >= d.count) {
        std::string text = sign + digits.substr(0, 1);
        if (d.count > 1) text += "." + digits.substr(1);
        char exponent[16];
        std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+',
                      std::abs(d.exponent));
        return text + exponent;
    }
    if (d.exponent < 0) return sign + "0." + std::string(-d.exponent - 1, '0') + digits;
    const std::string whole = sign + digits.substr(0, d.exponent + 1);
    if (d.exponent + 1 >= d.count) return whole;
    return whole + "." + digits.substr(d.exponent + 1);
}

}  // namespace explorer
