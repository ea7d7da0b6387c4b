// Sets and clears an environment variable that a test plug-in reads.
#pragma once

#include <cstdlib>

namespace qev::test {

// The plug-in shares the C runtime's environment with the program that loads it.
inline void setVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

inline void clearVariable(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

}  // namespace qev::test
