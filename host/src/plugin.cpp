#include "qevhost/plugin.h"

#include "library_header.h"
#include "qevhost/entry_point_note.h"
#include "qevhost/errors.h"
#include "qevplatform/shared_library.h"

namespace qevhost {

namespace {

#ifdef _WIN32
constexpr bool kHostIsWindows = true;
#else
constexpr bool kHostIsWindows = false;
#endif

// The tree whose qevhost loads a plug-in of this system and width.
std::string hostFor(bool windows, int bits) {
    if (windows) return bits == 32 ? "build/win32/qevhost.exe" : "build/win64/qevhost.exe";
    return bits == 32 ? "build/x86/qevhost" : "build/x64/qevhost";
}

void checkFile(const std::string& path) {
    bool windows = false;
    int bits = 0;
    switch (inspectLibrary(path)) {
        case LibraryKind::Missing:
            throw LoadError(path + ": no such file");
        case LibraryKind::Unreadable:
            throw LoadError(path + ": cannot be read");
        case LibraryKind::NotLibrary:
            throw LoadError(path + ": not a shared library");
        case LibraryKind::OtherMachine:
            throw LoadError(path + ": not an x86 or x86-64 plug-in");
        case LibraryKind::Elf32x86:
            bits = 32;
            break;
        case LibraryKind::Elf64x86:
            bits = 64;
            break;
        case LibraryKind::Pe32x86:
            windows = true, bits = 32;
            break;
        case LibraryKind::Pe64x86:
            windows = true, bits = 64;
            break;
    }
    if (windows != kHostIsWindows) {
        throw LoadError(path + ": " + std::to_string(bits) + "-bit " +
                        (windows ? "Windows" : "Linux") + " plug-in: use " +
                        hostFor(windows, bits));
    }
    if (bits != kHostBits) {
        throw LoadError(path + ": " + std::to_string(bits) + "-bit plug-in: use " +
                        hostFor(windows, bits));
    }
}

}  // namespace

std::unique_ptr<Plugin> Plugin::open(const std::string& path) {
    checkFile(path);
    std::string reason;
    void* library = nullptr;
    {
        EntryPointScope entry("its start-up code");
        library = platform::openLibrary(path, reason);
    }
    if (library == nullptr) throw LoadError(path + ": cannot load: " + reason);
    std::unique_ptr<Plugin> plugin(new Plugin(path, library, kHostBits));
    Exports& e = plugin->exports_;
#define QEVHOST_RESOLVE(name, result, params)                                          \
    e.name = reinterpret_cast<result(*) params>(platform::findSymbol(library, #name)); \
    if (e.name == nullptr) throw LoadError(path + ": missing export " #name);
    QEVHOST_EXPORT_LIST(QEVHOST_RESOLVE)
#undef QEVHOST_RESOLVE
    return plugin;
}

Plugin::Plugin(std::string path, void* library, int bits)
    : path_(std::move(path)), library_(library), bits_(bits) {}

Plugin::~Plugin() {
    EntryPointScope entry("its clean-up code");
    platform::closeLibrary(library_);
}

int32_t Plugin::sdkVersion() const {
    EntryPointScope entry("GetSDKVersion");
    return exports_.GetSDKVersion();
}

}  // namespace qevhost
