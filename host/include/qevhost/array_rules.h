// The host's rules for array outlets, kept alike by qevhost and by the explorer page (which
// compiles this same code): setEventSize takes a length of 0 to kMaxArrayLength, and
// setEventArrayValue writes only below the length last set. A call that breaks a rule is refused:
// nothing changes, and the host keeps the one-line reason.
#pragma once

#include <cstdint>
#include <string>

namespace qevhost {

// Longer arrays are refused: no module asks for more, and a wild count must not make the host
// allocate gigabytes.
constexpr int32_t kMaxArrayLength = 1 << 20;

// Why setEventSize(count) on parameter `param` is refused, or an empty text if it is not.
std::string sizeRefusal(int32_t param, int32_t count);

// Why setEventArrayValue on element `index` of parameter `param`, whose array holds `length`
// elements, is refused, or an empty text if it is not.
std::string indexRefusal(int32_t param, int32_t index, int32_t length);

}  // namespace qevhost
