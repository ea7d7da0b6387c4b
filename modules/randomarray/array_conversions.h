// Conversions of the array module's parameter values.
#pragma once

#include <cstdint>

#include "conversions.h"
#include "random_array_parameters.h"

namespace qev {

// "Array Size": truncated toward zero, at most 2048 so that a wild value cannot ask the host for
// a huge array; NaN gives 0. Counts of 0 or below pass unchanged.
inline int32_t arrayCountFromValue(float value) {
    const int32_t count = truncateToInt32(value);
    return count < kMaxArraySize ? count : kMaxArraySize;
}

// "Mode": truncated toward zero; NaN and values beyond the 32-bit range give -2147483648, a mode
// other than the two listed, so a NaN mode never computes on its own.
inline int32_t modeFromValue(float value) {
    return truncateToInt32OrIndefinite(value);
}

}  // namespace qev
