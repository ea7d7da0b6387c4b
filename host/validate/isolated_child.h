// The parts of an isolated check run that are the same whatever starts the child: the check
// under its watchdog inside the child, and the parent's verdict on how the child ended.
#pragma once

#include <string>

#include "check.h"
#include "isolated_run.h"

namespace qevhost::validate {

// The child's result as one text: 'P' or 'F', then the note; a pass in part is 'U', what was
// not tried, a newline and the note.
std::string resultText(const CheckResult& result);
CheckResult resultFromText(const std::string& text);

// Starts the result a child started by isolatedCheckMain prints on standard output, after
// anything else printed there.
constexpr const char* kChildResultMark =
    "\n\x1e"
    "check result:";

// Runs the check in this process with a watchdog on every module call. A call that overruns
// sends its failure through `send` and ends the process at once.
CheckResult runWatched(const Check& check, const CheckContext& context, const RunLimits& limits,
                       void (*send)(const CheckResult& result));

// How the child ended, as the check's result.
struct ChildEnd {
    bool finished = true;  // false: killed at the time limit
    bool crashed = false;
    std::string crash;  // what ended it, when crashed
    int exitCode = 0;
    std::string text;  // what it sent, as made by resultText; empty if nothing
};
CheckResult verdict(const ChildEnd& end, const RunLimits& limits);

}  // namespace qevhost::validate
