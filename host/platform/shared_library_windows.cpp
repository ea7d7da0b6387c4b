#include <windows.h>

#include "qevplatform/shared_library.h"

namespace qevhost::platform {

namespace {

LibraryObserver gObserver = nullptr;

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length && text ? std::string(text, length) : "";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace

void* openLibrary(const std::string& path, std::string& error) {
    // LoadLibrary would search the system directories for a bare name, and the altered search
    // order below wants a full path.
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string loadPath = length > 0 && length < sizeof full ? std::string(full, length) : path;
    for (char& c : loadPath) {
        if (c == '/') c = '\\';
    }
    // No message box for a damaged file; the library's own directory comes first in the search
    // for what it imports.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryExA(loadPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD code = GetLastError();
    SetErrorMode(previousMode);
    if (library == nullptr) {
        error = systemMessage(code);
        return nullptr;
    }
    if (gObserver != nullptr) gObserver(library);
    return library;
}

void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void closeLibrary(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

void setLibraryObserver(LibraryObserver observer) {
    gObserver = observer;
}

}  // namespace qevhost::platform
