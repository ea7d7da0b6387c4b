#include "seed_score.h"

#include <algorithm>
#include <cmath>

namespace seeds {

namespace {

struct Units {
    double low, span;
    double operator()(double value) const { return (value - low) / span; }
};

// An empty or non-finite output range measures values as they are.
Units unitsOf(float outputMin, float outputMax) {
    const double low = std::min(outputMin, outputMax);
    const double span = static_cast<double>(std::max(outputMin, outputMax)) - low;
    if (!(span > 0) || !std::isfinite(span)) return {0.0, 1.0};
    return {low, span};
}

// The sketch's y at x by straight lines between its points; NaN outside it.
double sketchAt(const std::vector<SketchPoint>& sketch, double x) {
    if (!(x >= sketch.front().x && x <= sketch.back().x)) return NAN;
    const auto after = std::upper_bound(sketch.begin(), sketch.end(), x,
                                        [](double v, const SketchPoint& p) { return v < p.x; });
    if (after == sketch.end()) return sketch.back().y;
    const SketchPoint& b = *after;
    const SketchPoint& a = *(after - 1);
    return a.y + (b.y - a.y) * ((x - a.x) / (b.x - a.x));
}

}  // namespace

Scorer::Scorer(const Query& query, const CurveSettings& settings) : query_(query) {
    lowEnd_ = std::min(settings.outputMin, settings.outputMax);
    highEnd_ = std::max(settings.outputMin, settings.outputMax);
    const Units u = unitsOf(settings.outputMin, settings.outputMax);
    low_ = u.low;
    span_ = u.span;
    if (query.sketch.empty()) return;
    for (double x : curvePositions(settings)) {
        const double y = sketchAt(query.sketch, x);
        target_.push_back(std::isnan(y) ? NAN : u(y));
        if (!std::isnan(y)) ++covered_;
    }
}

double Scorer::loopJump(const std::vector<float>& curve, float outputMin, float outputMax) {
    const std::size_t n = curve.size();
    if (n < 2) return 0;
    const Units u = unitsOf(outputMin, outputMax);
    const double first = u(curve[0]), second = u(curve[1]);
    const double last = u(curve[n - 1]), beforeLast = u(curve[n - 2]);
    return std::fabs(last - first) + std::fabs((last - beforeLast) - (second - first));
}

double Scorer::operator()(const std::vector<float>& curve) const {
    const std::size_t n = curve.size();
    if (n == 0) return 0;
    for (float v : curve) {
        if (std::isnan(v)) return NAN;
    }
    const Units u{low_, span_};
    double distance = 0;
    if (covered_ > 0) {
        double squares = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (std::isnan(target_[i])) continue;
            const double d = u(curve[i]) - target_[i];
            squares += d * d;
        }
        distance += std::sqrt(squares / static_cast<double>(covered_));
    }
    if (query_.starts) distance += std::fabs(u(curve[0]) - u(*query_.starts));
    if (query_.ends) distance += std::fabs(u(curve[n - 1]) - u(*query_.ends));
    if (query_.loops) distance += loopJump(curve, lowEnd_, highEnd_);
    if (query_.range || query_.seldomEnds || query_.calm) {
        double lowest = u(curve[0]), highest = lowest, steps = 0;
        std::size_t atEnds = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double v = u(curve[i]);
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
            if (curve[i] == lowEnd_ || curve[i] == highEnd_) ++atEnds;
            if (i > 0) steps += std::fabs(v - u(curve[i - 1]));
        }
        if (query_.range) distance += 1 - (highest - lowest);
        if (query_.seldomEnds) distance += static_cast<double>(atEnds) / static_cast<double>(n);
        if (query_.calm) {
            const double mean = n > 1 ? steps / static_cast<double>(n - 1) : 0;
            distance += query_.calm > 0 ? mean : 1 - mean;
        }
    }
    if (query_.rising) {
        // Least squares over positions 0 ... n-1: slope = sum((i - m) * u) / sum((i - m)^2).
        const double middle = static_cast<double>(n - 1) / 2;
        double across = 0, spread = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double di = static_cast<double>(i) - middle;
            across += di * u(curve[i]);
            spread += di * di;
        }
        double rise = spread > 0 ? across / spread * static_cast<double>(n - 1) : 0;
        rise = std::max(-1.0, std::min(1.0, rise));
        distance += query_.rising > 0 ? (1 - rise) / 2 : (1 + rise) / 2;
    }
    return distance;
}

std::string searchError(const Query& query, const CurveSettings& settings) {
    const std::vector<double> positions = curvePositions(settings);
    if (positions.empty()) return "the settings give no values to search";
    if (query.rising && settings.module == SeedModule::Random) {
        return "rising and falling are properties of Qev RandomArray's arrays";
    }
    if (!query.sketch.empty()) {
        bool covers = false;
        for (double x : positions) covers = covers || !std::isnan(sketchAt(query.sketch, x));
        if (!covers) return "the sketch covers none of the curve's points";
    }
    return "";
}

}  // namespace seeds
