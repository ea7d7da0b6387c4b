// Tells a plug-in's kind from the first bytes of the file, before it is loaded: an ELF shared
// object or a Windows DLL, for x86 or x86-64.
#pragma once

#include <string>

namespace qevhost {

enum class LibraryKind {
    Missing,
    Unreadable,
    NotLibrary,
    OtherMachine,
    Elf32x86,
    Elf64x86,
    Pe32x86,
    Pe64x86,
};

LibraryKind inspectLibrary(const std::string& path);

}  // namespace qevhost
