// HostInfo: the host's table of services. The module keeps a pointer to it and only reads function
// pointers out of it. Each service is a plain C function; none takes the module object.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host_records.h"

namespace qev {

using LookupHostValueFn = int32_t (*)(int32_t key);
using SetEventSizeFn = void (*)(EventHandle handle, int32_t count);
using SetEventValueFn = void (*)(EventHandle handle, float value);
using GetEventValueFn = float (*)(EventHandle handle);
using SetEventArrayValueFn = void (*)(EventHandle handle, int32_t index, float value);
using ReportErrorFn = void (*)(const char* text);

#pragma pack(push, 1)

struct HostInfo {
    uint8_t hostReserved0[4 + 8 * kPointerSize];
    LookupHostValueFn lookupHostValue;  // main thread: a value for ModuleInfo::hostLookup
    void* hostReserved1[5];
    SetEventSizeFn setEventSize;  // any thread: length of an array outlet
    void* hostReserved2[4];
    SetEventValueFn setEventValue;            // any thread: write a parameter
    GetEventValueFn getEventValue;            // any thread: read a parameter
    SetEventArrayValueFn setEventArrayValue;  // any thread: one element of an array outlet
    void* hostReserved3[65];
    ReportErrorFn reportError;  // any thread: a failure text, zero-terminated
};

#pragma pack(pop)

QEV_CHECK_OFFSET(HostInfo, lookupHostValue, 36, 68);
QEV_CHECK_OFFSET(HostInfo, setEventSize, 60, 116);
QEV_CHECK_OFFSET(HostInfo, setEventValue, 80, 156);
QEV_CHECK_OFFSET(HostInfo, getEventValue, 84, 164);
QEV_CHECK_OFFSET(HostInfo, setEventArrayValue, 88, 172);
QEV_CHECK_OFFSET(HostInfo, reportError, 352, 700);

}  // namespace qev
