#include <cstdio>
#include <cstring>
#include <string>

#include "isolated_child.h"
#include "qevplatform/child_process.h"

namespace qevhost::validate {

// Windows has no fork: the child is this program started anew with the hidden argument naming
// the check, through CreateProcess. It prints its result on standard output
// (see isolatedCheckMain).
CheckResult runIsolated(const Check& check, const CheckContext& context, const RunLimits& limits) {
    char callSeconds[32];
    std::snprintf(callSeconds, sizeof callSeconds, "%.17g", limits.callSeconds);
    std::fflush(stdout);
    std::fflush(stderr);
    const platform::ChildOutcome outcome =
        platform::runChild({platform::currentProgram(), kIsolatedCheckArgument, check.name,
                            callSeconds, context.pluginPath},
                           limits.checkSeconds, false);
    if (!outcome.started) return CheckResult::fail("cannot start a process");
    ChildEnd end;
    end.finished = outcome.finished;
    end.crashed = outcome.crashed;
    if (end.crashed) end.crash = platform::crashText(outcome.code);
    end.exitCode = static_cast<int>(outcome.code);
    const std::size_t mark = outcome.out.rfind(kChildResultMark);
    if (mark != std::string::npos)
        end.text = outcome.out.substr(mark + std::strlen(kChildResultMark));
    return verdict(end, limits);
}

}  // namespace qevhost::validate
