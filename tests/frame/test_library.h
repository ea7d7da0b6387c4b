// Opens a plug-in and finds its exports the way a host does on this platform: dlopen on Linux,
// LoadLibrary on Windows. Also sets and clears an environment variable the plug-in reads.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdlib>
#include <string>

namespace qev::test {

inline void* openLibrary(const char* path) {
#ifdef _WIN32
    return reinterpret_cast<void*>(LoadLibraryA(path));
#else
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

inline void* findExport(void* library, const char* name) {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
    return dlsym(library, name);
#endif
}

inline void closeLibrary(void* library) {
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(library));
#else
    dlclose(library);
#endif
}

inline std::string lastLoadError() {
#ifdef _WIN32
    return "error " + std::to_string(GetLastError());
#else
    const char* text = dlerror();
    return text ? text : "";
#endif
}

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
