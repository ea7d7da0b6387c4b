// Placing the text of a chart: the title broken into lines and the legend laid out in rows, from
// an estimate of text widths (the picture is drawn without measuring fonts).
#pragma once

#include <string>
#include <vector>

namespace qevhost::cli {

// Estimated width in pixels of `text` in a sans-serif font of `fontSize` pixels.
double textWidth(const std::string& text, double fontSize);

// The text broken after ", " or "; " so that no line is wider than `width` where possible.
std::vector<std::string> wrapText(const std::string& text, double width, double fontSize);

struct LegendEntry {
    double x, y;  // left end of the sample line, and the text baseline
};

// Entries left to right from (left, top), a new row when one would pass `right`.
std::vector<LegendEntry> layoutLegend(const std::vector<std::string>& names, double left,
                                      double right, double top);

constexpr double kLegendSample = 24;  // length of an entry's sample line
constexpr double kLegendRow = 18;     // distance between legend rows
constexpr double kLegendFont = 12;

}  // namespace qevhost::cli
