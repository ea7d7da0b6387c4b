#include "qevhost/plugin_fp_environment.h"

#include "qevhost/entry_point_note.h"

namespace qevhost {

namespace {

thread_local PluginFpEnvironment* tCurrent = nullptr;

}  // namespace

std::string changeText(const FpEnvironmentChange& change) {
    return change.entryPoint + " changed " + fpChangeText(change.given, change.handedBack);
}

PluginFpEnvironment::PluginFpEnvironment(const FpEnvironment& environment)
    : environment_(environment), previous_(tCurrent) {
    tCurrent = this;
}

PluginFpEnvironment::~PluginFpEnvironment() {
    tCurrent = previous_;
}

PluginFpEnvironment* PluginFpEnvironment::current() {
    return tCurrent;
}

void PluginFpEnvironment::noteHandedBack(const FpEnvironment& after) {
    // Raising a sticky flag is what arithmetic does; changing a control bit or clearing a flag
    // the caller had is a change.
    const uint32_t given = environment_.mxcsr;
    const bool mxcsrChanged =
        ((given ^ after.mxcsr) & ~kMxcsrFlags) != 0 || (given & ~after.mxcsr & kMxcsrFlags) != 0;
    if (!mxcsrChanged && after.x87ControlWord == environment_.x87ControlWord) return;
    const std::string name = *currentEntryPoint() ? currentEntryPoint() : "a call";
    for (const auto& change : changes_) {
        if (change.entryPoint == name) return;
    }
    changes_.push_back({name, environment_, after});
}

}  // namespace qevhost
