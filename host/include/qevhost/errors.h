// Failures the host reports to its caller. Each message is one line, fit to print as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace qevhost {

// A plug-in file could not be loaded: missing, not a shared library, built for the other
// architecture, or lacking one of the 34 exports.
class LoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A module object could not be made (Create answered null) or was used out of order.
class ModuleError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace qevhost
