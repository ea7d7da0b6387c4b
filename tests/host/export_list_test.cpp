// What each built plug-in offers and needs, read from its ELF dynamic section: exactly the 34
// entry points, and no C++ runtime among the needed libraries.
#include <gtest/gtest.h>

#include <set>

#include "elf_symbols.h"
#include "qevhost/exports.h"

namespace {

class ExportList : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(ExportList, ExactlyTheEntryPoints) {
    const ElfDynamicInfo info = readElfDynamicInfo(GetParam());
    const std::set<std::string> expected(qevhost::kExportNames.begin(),
                                         qevhost::kExportNames.end());
    EXPECT_EQ(info.definedSymbols, expected);
}

TEST_P(ExportList, NoCxxRuntimeNeeded) {
#ifdef QEV_SANITIZED_PLUGINS
    GTEST_SKIP() << "sanitizer builds leave the runtime to the loading program";
#endif
    const ElfDynamicInfo info = readElfDynamicInfo(GetParam());
    EXPECT_FALSE(info.needed.empty());  // libc at least: the reader found the dynamic section
    for (const auto& library : info.needed) {
        EXPECT_EQ(library.find("libstdc++"), std::string::npos) << library;
        EXPECT_EQ(library.find("libgcc_s"), std::string::npos) << library;
    }
}

// Loading runs no code of the project: what the loader calls is the carried runtime's own set-up
// (its exception pool, the processor check of libgcc, the compiler's frame registration).
TEST_P(ExportList, LoadRunsNoProjectCode) {
    const auto initialisers = readElfLoadInitialisers(GetParam());
    EXPECT_FALSE(initialisers.empty());  // the reader found .init_array
    for (const auto& name : initialisers) {
        EXPECT_EQ(name.find(".cpp"), std::string::npos) << name;  // a file of ours
        EXPECT_EQ(name.find("3qev"), std::string::npos) << name;  // a function of ours
        EXPECT_NE(name[0], '?') << name;                          // unnamed code
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, ExportList, ::testing::Values(RANDOM_PLUGIN, ARRAY_PLUGIN),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "QevRandom" : "QevRandomArray");
                         });
