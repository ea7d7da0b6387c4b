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

// `--compare CAPTION=V1,V2,...`: one setting per value, each resolved as --set resolves it.
struct Comparison {
    int32_t index = -1;
    std::string caption;             // as the module names the parameter
    std::vector<Setting> settings;   // one per value, in the order given
    std::vector<std::string> shown;  // each value as text ("0.3", a ListBox item by name)
};
Comparison resolveComparison(const ModuleDescription& module, const std::string& text);

// "Octaves 3, Fade 0.6": the inputs whose value differs from their default, except `skipped`.
std::string describeNonDefaults(const ModuleDescription& module, const std::vector<float>& values,
                                const std::vector<int32_t>& skipped);

}  // namespace qevhost::cli
