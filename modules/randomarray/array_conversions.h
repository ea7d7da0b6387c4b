// Conversions of the array module's parameter values.
#pragma once

#include <cstdint>

#include "conversions.h"
#include "random_array_parameters.h"

namespace qev {

// "Array Size": truncated toward zero and kept within 0 to 2048, so that a wild value asks the
// host neither for a huge array nor for a negative length; NaN gives 0.
inline int32_t arrayCountFromValue(float value) {
    const int32_t count = truncateToInt32(value);
    if (count < 0) return 0;
    return count < kMaxArraySize ? count : kMaxArraySize;
}

// "Mode": truncated toward zero; NaN and values beyond the 32-bit range give -2147483648, a mode
// other than the two listed, so a NaN mode never computes on its own.
inline int32_t modeFromValue(float value) {
    return truncateToInt32OrIndefinite(value);
}

}  // namespace qev
