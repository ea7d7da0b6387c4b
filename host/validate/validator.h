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

// Prints "pass  NAME  DESCRIPTION" or "fail  NAME  DESCRIPTION: REASON" per check, then the
// summary line. Returns the number that failed.
int validatePlugin(const ValidateOptions& options);

// "N passed, M failed", with ", 1 passed with WHAT" before the failures for each check that
// passed in part (what it could not try), so that such a run never reads as a full pass.
std::string summaryLine(int passed, const std::vector<std::string>& inPart, int failed);

// The check names and descriptions, each with a line on how it works on this platform.
void listChecks();

}  // namespace qevhost::validate
