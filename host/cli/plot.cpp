#include "plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "axis_ticks.h"
#include "svg_writer.h"

namespace qevhost::cli {

namespace {

constexpr double kWidth = 820, kHeight = 480;
constexpr double kLeft = 80, kRight = 20, kTop = 50, kBottom = 56;
constexpr std::size_t kMaxMarkers = 200;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd", "#ff7f0e"};

struct Frame {
    Axis x, y;
    double px(double v) const {
        return kLeft + (v - x.low) / (x.high - x.low) * (kWidth - kLeft - kRight);
    }
    double py(double v) const {
        return kHeight - kBottom - (v - y.low) / (y.high - y.low) * (kHeight - kTop - kBottom);
    }
};

std::string exact(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

Frame frameFor(const Chart& chart) {
    double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin;
    double yMin = xMin, yMax = -xMin;
    for (const auto& s : chart.series) {
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
            xMin = std::min(xMin, s.x[i]);
            xMax = std::max(xMax, s.x[i]);
            yMin = std::min(yMin, s.y[i]);
            yMax = std::max(yMax, s.y[i]);
        }
    }
    return {niceAxis(xMin, xMax, chart.wholeX), niceAxis(yMin, yMax)};
}

void drawAxes(SvgDocument& svg, const Frame& f, const Chart& chart) {
    const double left = kLeft, right = kWidth - kRight, top = kTop, bottom = kHeight - kBottom;
    svg.rect(left, top, right - left, bottom - top, " fill=\"#fcfcfc\" stroke=\"#333\"");
    for (double t : f.x.ticks) {
        const double x = f.px(t);
        svg.line(x, top, x, bottom, " stroke=\"#e4e4e4\"");
        svg.line(x, bottom, x, bottom + 5, " stroke=\"#333\"");
        svg.text(x, bottom + 18, tickLabel(t), " text-anchor=\"middle\"");
    }
    for (double t : f.y.ticks) {
        const double y = f.py(t);
        svg.line(left, y, right, y, " stroke=\"#e4e4e4\"");
        svg.line(left - 5, y, left, y, " stroke=\"#333\"");
        svg.text(left - 8, y + 4, tickLabel(t), " text-anchor=\"end\"");
    }
    svg.text(kWidth / 2, 24, chart.title, " text-anchor=\"middle\" font-size=\"15\"");
    svg.text((left + right) / 2, kHeight - 12, chart.xLabel, " text-anchor=\"middle\"");
    const double midY = (top + bottom) / 2;
    svg.text(18, midY, chart.yLabel,
             " text-anchor=\"middle\" transform=\"rotate(-90 18 " + svgNumber(midY) + ")\"");
}

void drawSeries(SvgDocument& svg, const Frame& f, const PlotSeries& s, const char* colour,
                std::size_t number) {
    std::vector<std::pair<double, double>> points;
    std::string values;
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        if (!std::isfinite(s.x[i]) || !std::isfinite(s.y[i])) continue;
        points.emplace_back(f.px(s.x[i]), f.py(s.y[i]));
        values += (values.empty() ? "" : " ") + exact(s.x[i]) + "," + exact(s.y[i]);
    }
    const std::string stroke = std::string(" stroke=\"") + colour + "\"";
    svg.polyline(points, stroke + " stroke-width=\"1.5\" class=\"series\" data-name=\"" +
                             xmlEscape(s.name) + "\" data-points=\"" + values + "\"");
    if (points.size() <= kMaxMarkers) {
        for (const auto& [x, y] : points) {
            svg.circle(x, y, 2.5, std::string(" fill=\"") + colour + "\"");
        }
    }
    // Legend entry, top right inside the plot area.
    const double ly = kTop + 16 + 18 * static_cast<double>(number);
    const double lx = kWidth - kRight - 150;
    svg.line(lx, ly - 4, lx + 24, ly - 4, stroke + " stroke-width=\"2\"");
    svg.text(lx + 30, ly, s.name, "");
}

}  // namespace

std::string renderPlot(const Chart& chart) {
    SvgDocument svg(kWidth, kHeight);
    const Frame frame = frameFor(chart);
    drawAxes(svg, frame, chart);
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        drawSeries(svg, frame, chart.series[i], kColours[i % std::size(kColours)], i);
    }
    return svg.str();
}

}  // namespace qevhost::cli
