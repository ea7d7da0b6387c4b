#include "axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qevhost::cli {

namespace {

// 10^k by exact multiplication and one division, not pow(): libm differs between the 32-bit
// and the 64-bit build, and a picture must come out byte for byte the same from both.
double powerOfTen(int k) {
    double power = 1.0;
    for (int i = 0; i < std::abs(k); ++i) power *= 10.0;
    return k < 0 ? 1.0 / power : power;
}

double niceStep(double span, int targetTicks) {
    const double raw = span / targetTicks;
    int k = 0;
    while (k < 300 && powerOfTen(k + 1) <= raw) ++k;
    while (k > -300 && powerOfTen(k) > raw) --k;
    const double power = powerOfTen(k);
    for (double factor : {1.0, 2.0, 5.0}) {
        if (raw <= factor * power) return factor * power;
    }
    return 10.0 * power;
}

}  // namespace

Axis niceAxis(double min, double max, bool wholeTicks, int targetTicks) {
    if (!std::isfinite(min) || !std::isfinite(max) || min > max) min = max = 0.0;
    if (max - min < 1e-300 || max - min < std::fabs(max) * 1e-12) {
        const double pad = min == 0.0 ? 1.0 : std::fabs(min) * 0.1;
        min -= pad;
        max += pad;
    }
    double step = niceStep(max - min, targetTicks);
    if (wholeTicks) step = std::max(step, 1.0);
    Axis axis{std::floor(min / step) * step, std::ceil(max / step) * step, {}};
    const auto count = static_cast<int>(std::lround((axis.high - axis.low) / step));
    for (int i = 0; i <= count; ++i) {
        const double tick = axis.low + i * step;
        axis.ticks.push_back(std::fabs(tick) < step * 1e-9 ? 0.0 : tick);
    }
    return axis;
}

std::string tickLabel(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

}  // namespace qevhost::cli
