// Reads what a Windows DLL offers and needs from its PE headers, for PE32 and PE32+ files,
// without loading it.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct PeTables {
    uint16_t machine = 0;                         // 0x14c i386, 0x8664 x86-64
    bool pe32Plus = false;                        // 64-bit optional header
    uint32_t exportedFunctions = 0;               // entries of the export address table
    std::set<std::string> exportNames;            // names in the export name table
    std::vector<std::string> importedDlls;        // DLL names of the import directory
    std::vector<std::string> delayLoadedDlls;     // DLL names of the delay-load directory
    std::vector<std::string> staticInitialisers;  // "_GLOBAL__sub_I" symbols of the COFF table
};

// Throws std::runtime_error when the file is not a readable PE image.
PeTables readPeTables(const std::string& path);
