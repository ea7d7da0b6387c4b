// A file under the test's temporary directory, removed at the end of the test.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

class TempFile {
  public:
    TempFile(const std::string& name, const std::string& content)
        : path_((std::filesystem::temp_directory_path() /
                 ("qevhost-test-" + std::to_string(getpid()) + "-" + name))
                    .string()) {
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The first 64 bytes of a little-endian ELF file of the given class, type and machine.
inline std::string elfHeader(int elfClass, int type, int machine) {
    std::string header(64, '\0');
    header.replace(0, 4,
                   "\x7f"
                   "ELF");
    header[4] = static_cast<char>(elfClass);
    header[5] = 1;  // little-endian
    header[6] = 1;  // version
    header[16] = static_cast<char>(type);
    header[18] = static_cast<char>(machine);
    return header;
}

// The first bytes of a PE file: a DOS header pointing at a PE file header of the given machine
// and characteristics.
inline std::string peHeader(int machine, int characteristics) {
    std::string header(0x80 + 24, '\0');
    header[0] = 'M';
    header[1] = 'Z';
    header[0x3c] = static_cast<char>(0x80);
    header.replace(0x80, 4, std::string("PE\0\0", 4));
    header[0x84] = static_cast<char>(machine & 0xff);
    header[0x85] = static_cast<char>(machine >> 8);
    header[0x96] = static_cast<char>(characteristics & 0xff);
    header[0x97] = static_cast<char>(characteristics >> 8);
    return header;
}

// A plug-in header of the given width for this host's system or the other one, and the host
// program that loads such a plug-in.
inline std::string libraryHeader(int bits, bool windows) {
    if (windows) return peHeader(bits == 32 ? 0x14c : 0x8664, 0x2102);  // a DLL
    return elfHeader(bits == 32 ? 1 : 2, 3, bits == 32 ? 3 : 62);
}
inline std::string hostProgram(int bits, bool windows) {
    if (windows) return bits == 32 ? "build/win32/qevhost.exe" : "build/win64/qevhost.exe";
    return bits == 32 ? "build/x86/qevhost" : "build/x64/qevhost";
}
#ifdef _WIN32
constexpr bool kWindowsHost = true;
#else
constexpr bool kWindowsHost = false;
#endif
