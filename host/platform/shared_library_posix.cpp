#include <dlfcn.h>

#include "qevplatform/shared_library.h"

namespace qevhost::platform {

namespace {

LibraryObserver gObserver = nullptr;

}  // namespace

void* openLibrary(const std::string& path, std::string& error) {
    // dlopen looks a bare name up in the library path; a relative path must name the file.
    const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown reason";
        return nullptr;
    }
    if (gObserver != nullptr) gObserver(library);
    return library;
}

void* findSymbol(void* library, const char* name) {
    return dlsym(library, name);
}

void closeLibrary(void* library) {
    dlclose(library);
}

void setLibraryObserver(LibraryObserver observer) {
    gObserver = observer;
}

}  // namespace qevhost::platform
