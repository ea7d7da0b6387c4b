// qevhost validate [--check NAME]... [--skip NAME]... [--call-limit SECONDS] [--list] PLUGIN: runs
// the validator's named checks on a plug-in; exit code 1 if any fails.
#include <cstdlib>
#include <stdexcept>

#include "cli_errors.h"
#include "commands.h"
#include "validator.h"

namespace qevhost::cli {

namespace {

double seconds(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(value > 0.0)) {
        throw UsageError("--call-limit needs a positive number of seconds");
    }
    return value;
}

}  // namespace

int validateCommand(const ValidateCommandOptions& options) {
    if (options.list) {
        validate::listChecks();
        return kExitOk;
    }
    validate::ValidateOptions run = options.run;
    if (!options.callLimit.empty()) run.limits.callSeconds = seconds(options.callLimit);
    try {
        validate::selectChecks(run.checks, run.skipped);
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
    return validate::validatePlugin(run) == 0 ? kExitOk : kExitFailure;
}

}  // namespace qevhost::cli
