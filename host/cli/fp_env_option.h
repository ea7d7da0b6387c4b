// --fp-env LIST of `qevhost run`: the plug-in's calls run under the floating-point environment a
// host's processing thread may have (flush-to-zero, another rounding mode, a lower x87
// precision), set on the calling thread around each call; qevhost's own code keeps its own.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "qevhost/plugin_fp_environment.h"

namespace qevhost::cli {

constexpr const char* kFpEnvHelp =
    "run the plug-in's calls under this floating-point environment: ftz, daz, "
    "round=nearest|down|up|zero and, in a 32-bit qevhost, x87=24|53|64";

// In force until it goes; null without --fp-env. Throws UsageError for a bad list.
std::unique_ptr<PluginFpEnvironment> fpEnvironmentFor(const std::optional<std::string>& list);

// Prints, on stderr, each entry point that handed back another environment than it was given;
// true if there was one.
bool printFpEnvironmentChanges(const PluginFpEnvironment* environment);

}  // namespace qevhost::cli
