// qevhost validate: runs the named checks on one plug-in, one line per check and a summary.
#pragma once

#include <string>
#include <vector>

#include "isolated_run.h"

namespace qevhost::validate {

struct ValidateOptions {
    std::string pluginPath;
    std::vector<std::string> checks;   // names to run; empty: all
    std::vector<std::string> skipped;  // names not to run
    RunLimits limits;
};

// The checks named (all if none), less the skipped ones. Throws std::invalid_argument for an
// unknown name.
std::vector<const Check*> selectChecks(const std::vector<std::string>& names,
                                       const std::vector<std::string>& skipped = {});

// Prints "pass  NAME  DESCRIPTION" or "fail  NAME  DESCRIPTION: REASON" per check, then
// "N passed, M failed". Returns M.
int validatePlugin(const ValidateOptions& options);

// The check names and descriptions, each with a line on how it works on this platform.
void listChecks();

}  // namespace qevhost::validate
