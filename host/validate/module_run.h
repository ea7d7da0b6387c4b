// Driving one module object as a host does, with every call into it timed by the watchdog, and
// reading back what it produced.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "module_profile.h"
#include "qevhost/module.h"
#include "qevhost/plugin.h"

namespace qevhost::validate {

// Create (timed), with the host's call log off: validation makes far too many calls to keep.
std::unique_ptr<Module> createModule(const Plugin& plugin);
void destroyModule(std::unique_ptr<Module>& module);  // Destroy (timed)
void startModule(Module& module);                     // describe, wire, init (each timed)
void deliver(Module& module, intptr_t paramIndex, intptr_t detail = 0);  // CallBack
void runBlock(Module& module);                                           // Process

// The host takes new values for every parameter, then tells the module: a message for each
// value inlet, one for each button, then one processing block.
void applyAndCompute(Module& module, const ModuleProfile& profile,
                     const std::vector<float>& values);
// Presses every button and runs one block: the module computes from its current values.
void compute(Module& module, const ModuleProfile& profile);
void setValues(Module& module, const std::vector<float>& values);

// What the outlets hold: one entry per outlet, a single value or an array.
struct Outputs {
    std::vector<int32_t> params;  // the outlets' parameter indices
    std::vector<std::vector<float>> values;
};
Outputs outputsOf(const Module& module, const ModuleProfile& profile);

// True if both hold the same bits; otherwise `where` says what differs first.
bool sameBits(const Outputs& a, const Outputs& b, const ModuleDescription& description,
              std::string* where);
// A hash of the bits, to compare runs and builds.
uint64_t fingerprint(const std::vector<Outputs>& runs, uint64_t previous = 0);

// Host errors from the `from`-th on: every refused call is the module's fault, a negative length
// included.
std::vector<std::string> moduleFaults(const Module& module, std::size_t from = 0);

// "Octaves = 2.5, Fade = 0, ...": every value inlet's value, for messages.
std::string settingsText(const ModuleDescription& description, const ModuleProfile& profile,
                         const std::vector<float>& values);

// "Octaves" or "parameter 5".
std::string captionOf(const ModuleDescription& description, int32_t index);

}  // namespace qevhost::validate
