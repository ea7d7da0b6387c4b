// Numbers as qevhost writes them: the shortest text that reads back as the same float, in %g
// layout (whole numbers below 1e9 in full). The WebAssembly runtime has no floating-point
// std::to_chars, so the shortest digits are found by rounding at each length in turn.
#pragma once

#include <string>

namespace explorer {

std::string formatFloat(float value);

}  // namespace explorer
