// Runs one check in a child process, so that a crash, an abort or a hang inside the plug-in
// fails that check with a reason instead of ending the validator.
#pragma once

#include "check.h"

namespace qevhost::validate {

struct RunLimits {
    double callSeconds = 5.0;     // longest time one call into the module may take
    double checkSeconds = 600.0;  // longest time a whole check may take
};

CheckResult runIsolated(const Check& check, const CheckContext& context, const RunLimits& limits);

}  // namespace qevhost::validate
