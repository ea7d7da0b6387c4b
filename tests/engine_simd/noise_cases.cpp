#include "noise_cases.h"

namespace qev::testing {

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

double CaseSource::offset() {
    static const double edges[] = {0.0,  -0.0,   997299.9, -997299.9,    -9973.0, 9971.0, -0.5,
                                   2.5,  1e9,    -1e9,     1e300,        -1e300,  kInf,   -kInf,
                                   kNaN, 0x1p31, -0x1p31,  0x1p31 / 256, -8388608};
    switch (below(4)) {
        case 0:
            return pick(edges);
        case 1:
            return uniform(-997300.0, 997300.0);
        case 2:
            return static_cast<double>(static_cast<int32_t>(bits() % 40000) - 20000);
        default:
            return uniform(-50.0, 50.0);
    }
}

double CaseSource::scale() {
    static const double edges[] = {1.0,  0.25,   0.37, 2e-8,   1e-300,   0.0,  -0.0,
                                   -1.0, -0.37,  1e6,  3.4e38, 1e300,    kInf, -kInf,
                                   kNaN, 9971.0, 0.5,  4096.0, 1048576.0};
    switch (below(3)) {
        case 0:
            return pick(edges);
        case 1:
            return uniform(0.0, 10.0);
        default: {
            // Drawn one after the other: the order of a call's arguments is up to the compiler.
            const int exponent = static_cast<int>(bits() % 64) - 30;
            return std::ldexp(uniform(-1.0, 1.0), exponent);
        }
    }
}

double CaseSource::octaves() {
    static const double edges[] = {0.0, -0.0, -1.0,  -0.5, 16.0, 16.5,      17.0,
                                   1e9, kInf, -kInf, kNaN, 0.5,  15.999999, 1e-300};
    switch (below(3)) {
        case 0:
            return pick(edges);
        case 1:
            return static_cast<double>(below(17));  // every whole count
        default:
            return uniform(0.0, 16.0);
    }
}

double CaseSource::fadeWindow() {
    static const double edges[] = {0.0, 0.25, 0.5,   0.125, 0.1,  0.0625, 0.6,
                                   1.0, 2.0,  -0.25, kNaN,  kInf, 1e-300, 0.49999999};
    switch (below(3)) {
        case 0:
            return pick(edges);
        case 1:
            return 0.5 * below(3) * 0.5;  // Fade 0, 0.5, 1
        default:
            return uniform(0.0, 0.5);
    }
}

double CaseSource::shape() {
    static const double edges[] = {0.5, 0.00002, 0.99998, 0.3, 0.7,  0.25,   0.75,
                                   0.0, 1.0,     -0.5,    2.0, kNaN, 1e-300, kInf};
    static const float floatEdges[] = {0x1.4f8b58p-16f, 0x1.fffd6p-1f};  // the parameter bounds
    switch (below(4)) {
        case 0:
            return pick(edges);
        case 1:
            return pick(floatEdges);
        case 2:
            return 0.5;
        default:
            return uniform(0.00002, 0.99998);
    }
}

NoiseCase CaseSource::next() {
    NoiseCase c;
    OctaveSettings& o = c.settings.octaves;
    o.octaves = octaves();
    o.fadeWindow = fadeWindow();
    o.bias = shape();
    o.gain = shape();
    c.settings.wrappedOffset = offset();
    c.settings.scale = scale();
    static const double windows[] = {-1.0, 1.0, -2.0, 2.0, 0.0, -0.25, 0.3, kNaN};
    c.settings.noiseMin = below(4) == 0 ? pick(windows) : uniform(-2.0, 2.0);
    c.settings.noiseMax = below(4) == 0 ? pick(windows) : uniform(-2.0, 2.0);
    if (below(8) == 0) c.settings.noiseMax = c.settings.noiseMin;  // equal window
    static const double outputs[] = {0.0, 1.0, -10.0, 3.4e38, -3.4e38, kNaN, kInf};
    c.settings.outputMin = below(3) == 0 ? pick(outputs) : uniform(-10.0, 10.0);
    c.settings.outputRange = below(3) == 0 ? pick(outputs) : uniform(-20.0, 20.0);
    static const int32_t firsts[] = {0, 1, 3, 2047, -5, 100000};
    c.first = below(2) == 0 ? pick(firsts) : below(2048);
    c.count = below(4) == 0 ? 1 + below(7) : 1 + below(300);
    return c;
}

}  // namespace qev::testing
