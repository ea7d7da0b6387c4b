// Starting another program and collecting what it printed and how it ended.
#pragma once

#include <string>
#include <vector>

namespace qevhost::platform {

struct ChildOutcome {
    bool started = false;
    bool finished = false;  // false: still running at the time limit, and killed
    bool crashed = false;   // ended by a signal (POSIX) or an unhandled exception (Windows)
    unsigned code = 0;      // exit status; the signal number or exception code when crashed
    std::string out;        // its standard output
    std::string err;        // its standard error, when captured
};

// Runs command[0] with the other words as arguments (no shell, no search path). Standard output
// is captured unless `captureOut` is false, standard error when `captureErr`; what is not captured
// goes where ours goes. A child still running after `seconds` (<= 0: no limit) is killed.
ChildOutcome runChild(const std::vector<std::string>& command, double seconds, bool captureErr,
                      bool captureOut = true);

// What the crash code means: "signal 11 (Segmentation fault)", "exception 0xc0000005 (access
// violation)".
std::string crashText(unsigned code);

// The running program's own file, to start it again.
std::string currentProgram();

// Windows: a crash in this process ends it with the exception code at once, without a debugger
// or an error box. POSIX: nothing to do, a signal already does.
void endOnCrash();

// Ends this process now with the code, without running exit handlers or unloading libraries
// (another thread may be stuck inside a plug-in).
[[noreturn]] void endProcessNow(int code);

// Writes all of the text to standard output, unbuffered.
void writeOut(const std::string& text);

}  // namespace qevhost::platform
