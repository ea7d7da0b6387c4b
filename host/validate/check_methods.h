// How each check finds out on the platform this validator was built for, for `validate --list`.
#pragma once

#include <string>

namespace qevhost::validate {

// What every check shares: the child process and the watchdog.
const char* isolationMethod();

// The check's own mechanism, one line; empty for an unknown name.
std::string checkMethod(const std::string& name);

}  // namespace qevhost::validate
