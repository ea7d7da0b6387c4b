// The command line of qevhost: its commands and options, --help for each, --version.
#pragma once

namespace qevhost::cli {

// Parses the command line and runs the command it names; returns the exit code. Throws
// UsageError for an unknown command or option, a missing value or a missing plug-in.
int runCommandLine(int argc, char** argv);

}  // namespace qevhost::cli
