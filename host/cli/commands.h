// The subcommands of qevhost, one file each. Each takes the arguments after its name and returns
// the exit code; failures are thrown as UsageError, CliError, LoadError or ModuleError.
#pragma once

#include <string>
#include <vector>

namespace qevhost::cli {

using Arguments = std::vector<std::string>;

int describeCommand(const Arguments& args);
int runCommand(const Arguments& args);
int validateCommand(const Arguments& args);

}  // namespace qevhost::cli
