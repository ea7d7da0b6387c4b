// The command line of `qevhost run`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "commands.h"

namespace qevhost::cli {

struct RunOptions {
    std::string plugin;
    std::vector<std::string> sets;      // CAPTION=VALUE, in order
    std::optional<std::string> inputs;  // FROM:TO:STEP or a comma list
    bool press = false;
    bool noPress = false;
    bool csv = false;
    std::optional<std::string> plotFile;
};

RunOptions parseRunOptions(const Arguments& args);

extern const char* const kRunUsage;

}  // namespace qevhost::cli
