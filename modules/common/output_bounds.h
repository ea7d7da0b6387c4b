// Keeps a module's value between "Output Min" and "Output Max". The mapping
// (max - min) * t + min lands inside the range for every t in [0, 1] except where rounding
// cancels: with ends of very different size (Output Min -3.4e38, Output Max -354) the sum can
// come out as 0. Values inside the range pass unchanged, bit for bit; NaN passes too.
#pragma once

namespace qev {

struct OutputBounds {
    double low, high;

    OutputBounds(double outputMin, double outputMax)
        : low(outputMin < outputMax ? outputMin : outputMax),
          high(outputMin < outputMax ? outputMax : outputMin) {}

    double clamp(double value) const {
        if (value < low) return low;
        if (value > high) return high;
        return value;
    }
};

}  // namespace qev
