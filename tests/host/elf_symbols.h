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

// The functions the loader runs when it loads the library: each .init_array entry, named from the
// full symbol table ("?" plus the address where no symbol lies there).
std::vector<std::string> readElfLoadInitialisers(const std::string& path);
