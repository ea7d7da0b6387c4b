// Loading a shared library (an ELF .so on Linux, a DLL on Windows), finding its exports,
// unloading it.
#pragma once

#include <string>

namespace qevhost::platform {

// The loaded library, or null with the system's reason in `error`. A path without a directory
// names a file in the current directory, never one on the system's search path.
void* openLibrary(const std::string& path, std::string& error);

// The exported function or object of that name, or null.
void* findSymbol(void* library, const char* name);

void closeLibrary(void* library);

// Called with every library openLibrary loads, before it is handed out (the validator looks at
// the library's imports there). Null: nothing is called.
using LibraryObserver = void (*)(void* library);
void setLibraryObserver(LibraryObserver observer);

}  // namespace qevhost::platform
