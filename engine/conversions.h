// Conversions of parameter values (floats from the host) to the integers the modules use. Every
// one is defined for NaN and out-of-range values: no conversion is left to a bare cast.
#pragma once

#include <cstdint>

namespace qev {

// "Random Seed": truncated toward zero to 64 bits, of which the low 32 bits are the seed. NaN and
// values whose truncation does not fit in 64 bits give 0 (the generator then uses 4357).
int32_t seedFromValue(float value);

// Counts: truncated toward zero to 32 bits. NaN gives 0; values beyond the range clamp to its
// ends.
int32_t truncateToInt32(double value);

// Truncated toward zero to 32 bits where the value fits; NaN and values that do not fit give
// -2147483648, the answer of the processor's own conversion.
int32_t truncateToInt32OrIndefinite(double value);

}  // namespace qev
