// Runs one check in a child process, so that a crash, an abort or a hang inside the plug-in
// fails that check with a reason instead of ending the validator.
#pragma once

#include <string>

#include "check.h"

namespace qevhost::validate {

struct RunLimits {
    double callSeconds = 5.0;     // longest time one call into the module may take
    double checkSeconds = 600.0;  // longest time a whole check may take
};

CheckResult runIsolated(const Check& check, const CheckContext& context, const RunLimits& limits);

// Where a child cannot be a copy of the validator (Windows), the program starts itself again
// with this first argument, then the check's name, the call limit and the plug-in.
constexpr const char* kIsolatedCheckArgument = "--isolated-check";

// The child's side of that: runs the check and prints its result. `args` follow the hidden
// argument. Returns the exit status.
int isolatedCheckMain(int argc, char** argv);

}  // namespace qevhost::validate
