// The calls that the fuzz and real-time checks make: settings inside the declared ranges reported
// as a host reports them, wild values on one parameter at a time, and stray messages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module_profile.h"
#include "qevhost/description.h"

namespace qevhost::validate {

struct Message {
    intptr_t paramIndex;
    intptr_t detail;
};

struct Step {
    std::string label;          // what the step does, for messages
    std::vector<float> values;  // every parameter's value during the step
    std::vector<Message> messages;
    bool inRange = false;  // values inside the declared ranges, every change reported
};

// `inRangeSteps` steps of random settings, then each wild value on each value inlet, then
// `strayCount` steps of messages a host should not send.
std::vector<Step> makeWorkload(const ModuleDescription& description, const ModuleProfile& profile,
                               uint64_t seed, int inRangeSteps, int strayCount);

}  // namespace qevhost::validate

namespace qevhost {
class Module;
}

namespace qevhost::validate {

// The host takes the step's values (without telling the module), then sends its messages.
void sendStepMessages(Module& module, const Step& step);

}  // namespace qevhost::validate
