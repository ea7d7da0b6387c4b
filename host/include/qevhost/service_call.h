// One call a module made to a host service, as the host logs it.
#pragma once

#include <cstdint>

namespace qevhost {

enum class Service {
    LookupHostValue,
    SetEventSize,
    SetEventValue,
    GetEventValue,
    SetEventArrayValue,
    ReportError
};

const char* serviceName(Service service);

struct ServiceCall {
    Service service;
    int32_t param = -1;     // parameter index of the handle; -1 for none or an unknown handle
    int32_t intArg = 0;     // lookup key, array size, element index, or report number
    float floatArg = 0.0f;  // value written, or value answered by getEventValue
};

// The answer of lookupHostValue, whatever the key.
inline constexpr int32_t kHostLookupAnswer = 6060;

}  // namespace qevhost
