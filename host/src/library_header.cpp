#include "library_header.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

namespace qevhost {

namespace {

constexpr uint8_t kClass32 = 1, kClass64 = 2;
constexpr uint16_t kTypeShared = 3;
constexpr uint16_t kMachine386 = 3, kMachineX86_64 = 62;
constexpr uint16_t kPeMachineI386 = 0x14c, kPeMachineAmd64 = 0x8664;
constexpr uint16_t kPeFileDll = 0x2000;

uint16_t read16(const std::vector<unsigned char>& bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t read32(const std::vector<unsigned char>& bytes, std::size_t at) {
    return static_cast<uint32_t>(read16(bytes, at)) | static_cast<uint32_t>(read16(bytes, at + 2))
                                                          << 16;
}

LibraryKind elfKind(const std::vector<unsigned char>& header) {
    if (header[5] != 1) return LibraryKind::OtherMachine;  // not little-endian
    const uint16_t type = read16(header, 16);
    const uint16_t machine = read16(header, 18);
    if (type != kTypeShared) return LibraryKind::NotLibrary;
    if (header[4] == kClass32 && machine == kMachine386) return LibraryKind::Elf32x86;
    if (header[4] == kClass64 && machine == kMachineX86_64) return LibraryKind::Elf64x86;
    return LibraryKind::OtherMachine;
}

// A DOS stub points at the PE signature; the file header after it names the machine and says
// whether the image is a DLL.
LibraryKind peKind(std::ifstream& file, const std::vector<unsigned char>& dosHeader) {
    const uint32_t peAt = read32(dosHeader, 0x3c);
    std::vector<unsigned char> header(24);
    file.clear();
    file.seekg(peAt);
    file.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    if (file.gcount() < static_cast<std::streamsize>(header.size()) ||
        std::memcmp(header.data(), "PE\0\0", 4) != 0) {
        return LibraryKind::NotLibrary;
    }
    const uint16_t machine = read16(header, 4);
    if (!(read16(header, 22) & kPeFileDll)) return LibraryKind::NotLibrary;
    if (machine == kPeMachineI386) return LibraryKind::Pe32x86;
    if (machine == kPeMachineAmd64) return LibraryKind::Pe64x86;
    return LibraryKind::OtherMachine;
}

}  // namespace

LibraryKind inspectLibrary(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return LibraryKind::Missing;
    if (!S_ISREG(info.st_mode)) return LibraryKind::NotLibrary;
    std::ifstream file(path, std::ios::binary);
    if (!file) return LibraryKind::Unreadable;
    std::vector<unsigned char> header(64);
    file.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    const auto got = static_cast<std::size_t>(file.gcount());
    if (got >= 20 && std::memcmp(header.data(),
                                 "\x7f"
                                 "ELF",
                                 4) == 0)
        return elfKind(header);
    if (got == header.size() && header[0] == 'M' && header[1] == 'Z') return peKind(file, header);
    return LibraryKind::NotLibrary;
}

}  // namespace qevhost
