// The options of `qevhost run`.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qevhost::cli {

struct RunOptions {
    std::string plugin;
    std::vector<std::string> sets;       // CAPTION=VALUE, in order
    std::optional<std::string> inputs;   // FROM:TO:STEP or a comma list
    std::optional<std::string> compare;  // CAPTION=V1,V2,...: one run per value
    bool press = false;
    bool noPress = false;
    bool csv = false;
    std::optional<std::string> plotFile;
    std::optional<std::string> fpEnv;  // --fp-env LIST
};

}  // namespace qevhost::cli
