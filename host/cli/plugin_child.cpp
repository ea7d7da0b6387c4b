#include "plugin_child.h"

#include <cstring>

#include "qevplatform/child_process.h"

namespace qevhost::cli {

bool loadsPlugin(int argc, char** argv) {
    if (argc < 2) return false;
    for (const char* command : {"describe", "run", "seeds"}) {
        if (std::strcmp(argv[1], command) == 0) return true;
    }
    return false;
}

std::string crashMessage(const std::string& entryPoint, unsigned code) {
    // Worded as validate words a crash: "signal 11 (SIGSEGV)", "exception 0xc0000005 (...)".
    const std::string cause = ": " + platform::crashText(code);
    if (entryPoint.empty()) return "crashed outside the plug-in's entry points" + cause;
    return "the plug-in crashed in " + entryPoint + cause;
}

}  // namespace qevhost::cli
