// Runs the qevhost program of this tree as a separate process, through the tree's emulator when
// it has one, and collects what it printed.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1;  // -1 when the program did not exit normally (a crash)
    std::string out, err;
};

ProcessResult runQevhost(const std::vector<std::string>& args);

// The text split into lines, without their newlines.
std::vector<std::string> lines(const std::string& text);
