// A file under the test's temporary directory, removed at the end of the test.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

class TempFile {
  public:
    TempFile(const std::string& name, const std::string& content)
        : path_("/tmp/qevhost-test-" + std::to_string(getpid()) + "-" + name) {
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
