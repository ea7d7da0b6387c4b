// The floating-point environment calls into plug-ins run under on this thread, to see what a
// host thread with flush-to-zero or another rounding mode gets. While a PluginFpEnvironment
// lives, every export call made through a ModuleCallScope on its thread starts in its
// environment, and the host's own comes back after the call. A call that hands back another
// environment than it was given (a control bit changed, or a sticky flag cleared; raising one is
// what any arithmetic does) is noted with the entry point's name.
#pragma once

#include <string>
#include <vector>

#include "qevhost/fp_environment.h"

namespace qevhost {

struct FpEnvironmentChange {
    std::string entryPoint;
    FpEnvironment given;
    FpEnvironment handedBack;
};

// "Process changed MXCSR 0x9fc0 to 0x1fc0 (FTZ off)".
std::string changeText(const FpEnvironmentChange& change);

class PluginFpEnvironment {
  public:
    explicit PluginFpEnvironment(const FpEnvironment& environment);
    ~PluginFpEnvironment();
    PluginFpEnvironment(const PluginFpEnvironment&) = delete;
    PluginFpEnvironment& operator=(const PluginFpEnvironment&) = delete;

    const FpEnvironment& environment() const { return environment_; }
    // The first change each entry point made, in order.
    const std::vector<FpEnvironmentChange>& changes() const { return changes_; }

    // The one in force on this thread, or null.
    static PluginFpEnvironment* current();
    // Called after each export call with the environment the call handed back.
    void noteHandedBack(const FpEnvironment& after);

  private:
    FpEnvironment environment_;
    PluginFpEnvironment* previous_;
    std::vector<FpEnvironmentChange> changes_;
};

}  // namespace qevhost
