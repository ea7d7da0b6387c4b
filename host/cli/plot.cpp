#include "plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "axis_ticks.h"
#include "plot_layout.h"
#include "svg_writer.h"

namespace qevhost::cli {

namespace {

// 800 pixels wide: the width at which a guide page shows the picture unscaled.
constexpr double kWidth = 800, kHeight = 460;
constexpr double kLeft = 72, kRight = 24, kBottom = 56;
constexpr double kTitleFont = 15, kTitleLine = 19;
constexpr std::size_t kMaxMarkers = 200;
// Colours that stay apart for colour-blind readers (blue, vermilion, bluish green, reddish
// purple, orange, sky blue, black); yellow is left out, it vanishes on white.
const char* const kColours[] = {"#0072b2", "#d55e00", "#009e73", "#cc79a7",
                                "#e69f00", "#56b4e9", "#000000"};

struct Frame {
    Axis x, y;
    double top;
    double px(double v) const {
        return kLeft + (v - x.low) / (x.high - x.low) * (kWidth - kLeft - kRight);
    }
    double py(double v) const {
        return kHeight - kBottom - (v - y.low) / (y.high - y.low) * (kHeight - top - kBottom);
    }
};

std::string exact(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

bool finitePoint(const PlotSeries& s, std::size_t i) {
    return std::isfinite(s.x[i]) && std::isfinite(s.y[i]);
}

// A series whose values are all whole numbers, drawn as steps: it jumps, it does not slide.
bool wholeValued(const PlotSeries& s) {
    bool any = false;
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        if (!finitePoint(s, i)) continue;
        if (s.y[i] != std::floor(s.y[i])) return false;
        any = true;
    }
    return any;
}

Frame frameFor(const Chart& chart, double top) {
    double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin;
    double yMin = xMin, yMax = -xMin;
    for (const auto& s : chart.series) {
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            if (!finitePoint(s, i)) continue;
            xMin = std::min(xMin, s.x[i]);
            xMax = std::max(xMax, s.x[i]);
            yMin = std::min(yMin, s.y[i]);
            yMax = std::max(yMax, s.y[i]);
        }
    }
    return {niceAxis(xMin, xMax, chart.wholeX), niceAxis(yMin, yMax), top};
}

void drawAxes(SvgDocument& svg, const Frame& f, const Chart& chart) {
    const double left = kLeft, right = kWidth - kRight, top = f.top, bottom = kHeight - kBottom;
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
    const std::string axisTitle = " text-anchor=\"middle\" font-size=\"13\" font-weight=\"bold\"";
    svg.text((left + right) / 2, kHeight - 14, chart.xLabel, axisTitle);
    const double midY = (top + bottom) / 2;
    svg.text(20, midY, chart.yLabel,
             axisTitle + " transform=\"rotate(-90 20 " + svgNumber(midY) + ")\"");
}

void drawSeries(SvgDocument& svg, const Frame& f, const PlotSeries& s, const std::string& colour) {
    std::vector<std::pair<double, double>> points, drawn;
    std::string values;
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        if (!finitePoint(s, i)) continue;
        points.emplace_back(f.px(s.x[i]), f.py(s.y[i]));
        values += (values.empty() ? "" : " ") + exact(s.x[i]) + "," + exact(s.y[i]);
    }
    const bool steps = wholeValued(s);
    for (std::size_t i = 0; i < points.size(); ++i) {
        // Steps change value halfway between two points.
        if (steps && i > 0) {
            const double middle = (points[i - 1].first + points[i].first) / 2;
            drawn.emplace_back(middle, points[i - 1].second);
            drawn.emplace_back(middle, points[i].second);
        }
        drawn.push_back(points[i]);
    }
    svg.polyline(drawn, " stroke=\"" + colour + "\" stroke-width=\"1.6\" class=\"series\"" +
                            (steps ? " data-steps=\"1\"" : "") + " data-name=\"" +
                            xmlEscape(s.name) + "\" data-points=\"" + values + "\"");
    if (points.size() <= kMaxMarkers) {
        for (const auto& [x, y] : points) svg.circle(x, y, 2.5, " fill=\"" + colour + "\"");
    }
}

}  // namespace

std::string renderPlot(const Chart& chart) {
    SvgDocument svg(kWidth, kHeight);
    const auto titleLines = wrapText(chart.title, kWidth - 40, kTitleFont);
    double y = 24;
    for (const auto& line : titleLines) {
        svg.text(kWidth / 2, y, line, " text-anchor=\"middle\" font-size=\"15\"");
        y += kTitleLine;
    }
    std::vector<std::string> names;
    for (const auto& s : chart.series) names.push_back(s.name);
    const auto legend = layoutLegend(names, kLeft, kWidth - kRight, y - 8);
    const double top = (legend.empty() ? y : legend.back().y + 6) + 10;
    const Frame frame = frameFor(chart, top);
    drawAxes(svg, frame, chart);
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const std::string colour = kColours[i % std::size(kColours)];
        drawSeries(svg, frame, chart.series[i], colour);
        const auto& entry = legend[i];
        svg.line(entry.x, entry.y - 4, entry.x + kLegendSample, entry.y - 4,
                 " stroke=\"" + colour + "\" stroke-width=\"2.5\"");
        svg.text(entry.x + kLegendSample + 6, entry.y, names[i], "");
    }
    return svg.str();
}

}  // namespace qevhost::cli
