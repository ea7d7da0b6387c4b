// The options of `qevhost seeds`.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qevhost::cli {

struct SeedsOptions {
    std::string plugin;
    std::vector<std::string> sets;      // CAPTION=VALUE, in order
    std::optional<std::string> inputs;  // FROM:TO:STEP or a comma list
    std::string seeds;                  // FROM:TO
    std::optional<std::string> like;    // CSV file of sketch points
    std::vector<std::string> wants;     // property lists
    int top = 12;
    bool csv = false;
};

}  // namespace qevhost::cli
