// A plug-in library loaded into the host process.
#pragma once

#include <memory>
#include <string>

#include "qevhost/exports.h"

namespace qevhost {

class Plugin {
  public:
    // Loads the library and resolves all 34 exports. Throws LoadError with a one-line message for
    // a missing file, a file that is not a shared library, a plug-in of the other architecture
    // (told from the file header before loading) and a missing export (named).
    static std::unique_ptr<Plugin> open(const std::string& path);
    ~Plugin();  // unloads the library

    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const Exports& exports() const { return exports_; }
    const std::string& path() const { return path_; }
    int32_t sdkVersion() const;         // calls GetSDKVersion
    int bits() const { return bits_; }  // 32 or 64, from the file header

  private:
    Plugin(std::string path, void* library, int bits);
    std::string path_;
    void* library_;
    int bits_;
    Exports exports_;
};

// Pointer width of this host build: a host loads only plug-ins of its own width.
constexpr int kHostBits = sizeof(void*) * 8;

}  // namespace qevhost
