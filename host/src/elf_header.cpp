#include "elf_header.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>

namespace qevhost {

namespace {

constexpr uint8_t kClass32 = 1, kClass64 = 2;
constexpr uint16_t kTypeShared = 3;
constexpr uint16_t kMachine386 = 3, kMachineX86_64 = 62;

}  // namespace

ElfKind inspectElf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return ElfKind::Missing;
    if (!S_ISREG(info.st_mode)) return ElfKind::NotElf;
    std::ifstream file(path, std::ios::binary);
    if (!file) return ElfKind::Unreadable;
    unsigned char header[20] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    if (file.gcount() < static_cast<std::streamsize>(sizeof header)) return ElfKind::NotElf;
    if (std::memcmp(header,
                    "\x7f"
                    "ELF",
                    4) != 0)
        return ElfKind::NotElf;
    if (header[5] != 1) return ElfKind::OtherMachine;  // not little-endian
    const uint16_t type = static_cast<uint16_t>(header[16] | header[17] << 8);
    const uint16_t machine = static_cast<uint16_t>(header[18] | header[19] << 8);
    if (type != kTypeShared) return ElfKind::NotSharedLibrary;
    if (header[4] == kClass32 && machine == kMachine386) return ElfKind::Elf32x86;
    if (header[4] == kClass64 && machine == kMachineX86_64) return ElfKind::Elf64x86;
    return ElfKind::OtherMachine;
}

}  // namespace qevhost
