// Tells a plug-in's kind from the first bytes of the file, before it is loaded.
#pragma once

#include <string>

namespace qevhost {

enum class ElfKind {
    Missing,
    Unreadable,
    NotElf,
    NotSharedLibrary,
    Elf32x86,
    Elf64x86,
    OtherMachine
};

ElfKind inspectElf(const std::string& path);

}  // namespace qevhost
