#include "fp_env_option.h"

#include <stdexcept>

#include "cli_errors.h"
#include "text_format.h"

namespace qevhost::cli {

std::unique_ptr<PluginFpEnvironment> fpEnvironmentFor(const std::optional<std::string>& list) {
    if (!list) return nullptr;
    FpEnvironment environment = currentFpEnvironment();
    environment.mxcsr &= ~kMxcsrFlags;
    try {
        environment = parseFpEnvironment(*list, environment);
    } catch (const std::invalid_argument& e) {
        throw UsageError(std::string("--fp-env: ") + e.what());
    }
    printMessage("the plug-in's calls run under " + fpEnvironmentText(environment));
    return std::make_unique<PluginFpEnvironment>(environment);
}

bool printFpEnvironmentChanges(const PluginFpEnvironment* environment) {
    if (!environment) return false;
    for (const auto& change : environment->changes()) {
        printMessage("the plug-in's " + changeText(change));
    }
    return !environment->changes().empty();
}

}  // namespace qevhost::cli
