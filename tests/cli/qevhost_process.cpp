#include "qevhost_process.h"

#include <sstream>

#include "qevplatform/child_process.h"

ProcessResult runQevhost(const std::vector<std::string>& args) {
    std::vector<std::string> command;
    const std::string emulator = QEVHOST_EMULATOR;
    if (!emulator.empty()) command.push_back(emulator);
    command.push_back(QEVHOST_PROGRAM);
    command.insert(command.end(), args.begin(), args.end());

    const auto child = qevhost::platform::runChild(command, 0.0, true);
    ProcessResult result;
    if (child.started && !child.crashed) result.exitCode = static_cast<int>(child.code);
    result.out = child.out;
    result.err = child.err;
    return result;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}
