// Reads what a shared library offers and needs from its ELF dynamic section, for 32-bit and
// 64-bit little-endian files, without loading it.
#pragma once

#include <set>
#include <string>
#include <vector>

struct ElfDynamicInfo {
    std::set<std::string> definedSymbols;  // global or weak symbols the library defines
    std::vector<std::string> needed;       // DT_NEEDED libraries
};

// Throws std::runtime_error when the file is not a readable ELF shared library.
ElfDynamicInfo readElfDynamicInfo(const std::string& path);
