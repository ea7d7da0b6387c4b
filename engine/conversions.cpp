#include "conversions.h"

#include <cmath>

namespace qev {

int32_t seedFromValue(float value) {
    const double v = value;
    // 2^63 is exact in double; the valid range for truncation is (-2^63 - 1, 2^63).
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(v >= -kTwoTo63 && v < kTwoTo63)) return 0;  // NaN fails both comparisons
    const int64_t truncated = static_cast<int64_t>(v);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(truncated)));
}

int32_t truncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t truncateToInt32OrIndefinite(double value) {
    // The values that truncate into range lie in (-2^31 - 1, 2^31); NaN fails both comparisons.
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace qev
