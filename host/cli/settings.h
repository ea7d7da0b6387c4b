// `--set CAPTION=VALUE` resolved against a module's parameters.
#pragma once

#include <string>
#include <vector>

#include "qevhost/description.h"

namespace qevhost::cli {

struct Setting {
    int32_t index;
    float value;
};

// Resolves each CAPTION=VALUE. The caption matches without regard to case, or is an index; a
// ListBox also takes one of its items by name. Throws CliError for an unknown caption (listing
// the captions), a value that is not a number and an output parameter; warns on stderr about a
// value outside the declared range and passes it on.
std::vector<Setting> resolveSettings(const ModuleDescription& module,
                                     const std::vector<std::string>& sets);

// "Octaves 3, Fade 0.6": the inputs whose value differs from their default.
std::string describeNonDefaults(const ModuleDescription& module, const std::vector<float>& values,
                                int32_t skipIndex);

}  // namespace qevhost::cli
