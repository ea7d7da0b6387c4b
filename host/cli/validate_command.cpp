// qevhost validate [--check NAME]... [--skip NAME]... [--call-limit SECONDS] [--list] PLUGIN: runs
// the validator's named checks on a plug-in; exit code 1 if any fails.
#include <cstdlib>
#include <stdexcept>

#include "cli_errors.h"
#include "commands.h"
#include "validator.h"

namespace qevhost::cli {

namespace {

constexpr const char* kUsage =
    "usage: qevhost validate [--check NAME]... [--skip NAME]... [--call-limit SECONDS] [--list] "
    "PLUGIN";

double seconds(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(value > 0.0)) {
        throw UsageError("--call-limit needs a positive number of seconds");
    }
    return value;
}

}  // namespace

int validateCommand(const Arguments& args) {
    validate::ValidateOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--list") {
            validate::listChecks();
            return kExitOk;
        } else if (arg == "--check" && hasValue) {
            options.checks.push_back(args[++i]);
        } else if (arg == "--skip" && hasValue) {
            options.skipped.push_back(args[++i]);
        } else if (arg == "--call-limit" && hasValue) {
            options.limits.callSeconds = seconds(args[++i]);
        } else if (arg.rfind("-", 0) == 0 || !options.pluginPath.empty()) {
            throw UsageError(kUsage);
        } else {
            options.pluginPath = arg;
        }
    }
    if (options.pluginPath.empty()) throw UsageError(kUsage);
    try {
        validate::selectChecks(options.checks, options.skipped);
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
    return validate::validatePlugin(options) == 0 ? kExitOk : kExitFailure;
}

}  // namespace qevhost::cli
