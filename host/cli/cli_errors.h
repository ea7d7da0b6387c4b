// Failures of the command line, turned into one line on stderr and an exit code by main.
#pragma once

#include <stdexcept>

namespace qevhost::cli {

// Wrong use of the command line (unknown option, missing argument): exit code 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A request that cannot be carried out (unknown caption, value not a number): exit code 1.
class CliError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace qevhost::cli
