// The host's storage for one parameter. A slot's address is the EventHandle the module gets from
// SetEventAddress, so the host services find the value and its owner without global state.
#pragma once

#include <cstdint>
#include <vector>

namespace qevhost {

class Module;

struct EventSlot {
    static constexpr uint32_t kMagic = 0x51455653;  // marks a live slot
    uint32_t magic = kMagic;
    Module* owner = nullptr;
    int32_t index = 0;
    float value = 0.0f;
    int32_t length = 0;           // array length last set by setEventSize
    std::vector<float> elements;  // array contents; size() == length
};

}  // namespace qevhost
