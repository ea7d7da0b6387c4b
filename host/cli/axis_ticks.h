// Axis ranges with round tick values (1, 2 or 5 times a power of ten).
#pragma once

#include <string>
#include <vector>

namespace qevhost::cli {

struct Axis {
    double low, high;           // the drawn range, widened to whole ticks
    std::vector<double> ticks;  // from low to high
};

// An axis covering [min, max]; an empty or single-value range is widened around it. With
// `wholeTicks` no tick falls between whole numbers (for element indices).
Axis niceAxis(double min, double max, bool wholeTicks = false, int targetTicks = 8);

// A tick value as short text ("0.25", "1e+06").
std::string tickLabel(double value);

}  // namespace qevhost::cli
