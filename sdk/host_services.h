// Calls into the host. A missing HostInfo or a null service pointer counts as a missing service:
// the call is skipped and a read answers 0, so a host that wires a module partly cannot crash it.
#pragma once

#include "host_info.h"

namespace qev {

inline float getEventValue(const HostInfo* host, EventHandle handle) {
    return (host && host->getEventValue) ? host->getEventValue(handle) : 0.0f;
}

inline void setEventValue(const HostInfo* host, EventHandle handle, float value) {
    if (host && host->setEventValue) host->setEventValue(handle, value);
}

inline void setEventSize(const HostInfo* host, EventHandle handle, int32_t count) {
    if (host && host->setEventSize) host->setEventSize(handle, count);
}

inline void setEventArrayValue(const HostInfo* host, EventHandle handle, int32_t index,
                               float value) {
    if (host && host->setEventArrayValue) host->setEventArrayValue(handle, index, value);
}

inline int32_t lookupHostValue(const HostInfo* host, int32_t key) {
    return (host && host->lookupHostValue) ? host->lookupHostValue(key) : 0;
}

inline void reportError(const HostInfo* host, const char* text) {
    if (host && host->reportError) host->reportError(text);
}

}  // namespace qev
