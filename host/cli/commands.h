// The subcommands of qevhost, one file each. Each takes its parsed options and returns the exit
// code; failures are thrown as UsageError, CliError, LoadError or ModuleError.
#pragma once

#include <string>

#include "run_options.h"
#include "seeds_options.h"
#include "validator.h"

namespace qevhost::cli {

struct DescribeOptions {
    std::string plugin;
};

struct ValidateCommandOptions {
    validate::ValidateOptions run;
    std::string callLimit;  // seconds, as given
    bool list = false;
};

int describeCommand(const DescribeOptions& options);
int runCommand(const RunOptions& options);
int seedsCommand(const SeedsOptions& options);
int validateCommand(const ValidateCommandOptions& options);

}  // namespace qevhost::cli
