#include "qevhost/array_rules.h"

namespace qevhost {

std::string sizeRefusal(int32_t param, int32_t count) {
    if (count >= 0 && count <= kMaxArrayLength) return {};
    return "setEventSize(" + std::to_string(count) + ") on parameter " + std::to_string(param) +
           ": size refused, a length is 0 to " + std::to_string(kMaxArrayLength);
}

std::string indexRefusal(int32_t param, int32_t index, int32_t length) {
    if (index >= 0 && index < length) return {};
    return "setEventArrayValue index " + std::to_string(index) + " outside length " +
           std::to_string(length) + " of parameter " + std::to_string(param);
}

}  // namespace qevhost
