// A line chart of one or more series against a common x axis, as an SVG document.
#pragma once

#include <string>
#include <vector>

namespace qevhost::cli {

struct PlotSeries {
    std::string name;
    std::vector<double> x, y;  // non-finite points are left out of the picture
};

struct Chart {
    std::string title, xLabel, yLabel;
    bool wholeX = false;  // x counts elements: ticks on whole numbers only
    std::vector<PlotSeries> series;
};

// Axes with ticks and titles, the title (wrapped), a legend row above the plot, one polyline per
// series (steps for a series of whole numbers, markers when the series is short). Each series'
// polyline carries its exact values in a data-points attribute ("x,y x,y ...", %.9g) so tools
// can read the numbers back.
std::string renderPlot(const Chart& chart);

}  // namespace qevhost::cli
