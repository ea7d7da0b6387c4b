// The ModuleInfo fields both modules write; every other byte of the record stays the host's.
#pragma once

#include <cstdint>

#include "host_records.h"
#include "host_services.h"
#include "qev_version.h"

namespace qev {

constexpr int32_t kHostLookupKey = 60;

inline void writeModuleDescription(const HostInfo* host, ModuleInfo* info, const char* name,
                                   const char* description, int32_t numberOfParams) {
    info->name = name;
    info->description = description;
    info->moduleType = 0;
    // Asked only of a host that handed over its services; without one the answer is 0.
    info->hostLookup = host ? lookupHostValue(host, kHostLookupKey) : 0;
    info->numberOfParams = numberOfParams;
    info->optionCode = 0;
    info->version = QEV_VERSION;
}

}  // namespace qev
