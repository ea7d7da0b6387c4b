#include "qevhost/plugin.h"

#include <dlfcn.h>

#include "elf_header.h"
#include "qevhost/errors.h"

namespace qevhost {

namespace {

void checkFile(const std::string& path) {
    switch (inspectElf(path)) {
        case ElfKind::Missing:
            throw LoadError(path + ": no such file");
        case ElfKind::Unreadable:
            throw LoadError(path + ": cannot be read");
        case ElfKind::NotElf:
        case ElfKind::NotSharedLibrary:
            throw LoadError(path + ": not a shared library");
        case ElfKind::OtherMachine:
            throw LoadError(path + ": not an x86 or x86-64 plug-in");
        case ElfKind::Elf32x86:
            if (kHostBits != 32) throw LoadError(path + ": 32-bit plug-in: use build/x86/qevhost");
            break;
        case ElfKind::Elf64x86:
            if (kHostBits != 64) throw LoadError(path + ": 64-bit plug-in: use build/x64/qevhost");
            break;
    }
}

}  // namespace

std::unique_ptr<Plugin> Plugin::open(const std::string& path) {
    checkFile(path);
    // dlopen looks a bare name up in the library path; a relative path must name the file.
    const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        throw LoadError(path + ": cannot load: " + (reason ? reason : "unknown reason"));
    }
    std::unique_ptr<Plugin> plugin(new Plugin(path, library, kHostBits));
    Exports& e = plugin->exports_;
#define QEVHOST_RESOLVE(name, result, params)                           \
    e.name = reinterpret_cast<result(*) params>(dlsym(library, #name)); \
    if (e.name == nullptr) throw LoadError(path + ": missing export " #name);
    QEVHOST_EXPORT_LIST(QEVHOST_RESOLVE)
#undef QEVHOST_RESOLVE
    return plugin;
}

Plugin::Plugin(std::string path, void* library, int bits)
    : path_(std::move(path)), library_(library), bits_(bits) {}

Plugin::~Plugin() {
    dlclose(library_);
}

}  // namespace qevhost
