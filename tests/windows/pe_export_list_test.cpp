// What each built DLL offers and needs, read from its PE headers: exactly the 34 entry points
// under their plain names, built for this tree's processor, and only system DLLs among its
// imports, so no C++ runtime, libgcc or winpthread DLL has to travel with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "pe_tables.h"
#include "qevhost/exports.h"

namespace {

class PeExportList : public ::testing::TestWithParam<const char*> {};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

TEST_P(PeExportList, ExactlyTheEntryPointsByName) {
    const PeTables tables = readPeTables(GetParam());
#define QEV_EXPORT_NAME(name, result, parameters) #name,
    const std::set<std::string> expected{QEVHOST_EXPORT_LIST(QEV_EXPORT_NAME)};
#undef QEV_EXPORT_NAME
    EXPECT_EQ(tables.exportNames, expected);
    EXPECT_EQ(tables.exportedFunctions, expected.size()) << "exports without a name";
}

TEST_P(PeExportList, BuiltForThisTreesProcessor) {
    const PeTables tables = readPeTables(GetParam());
    EXPECT_EQ(tables.machine, sizeof(void*) == 8 ? 0x8664 : 0x14c);
    EXPECT_EQ(tables.pe32Plus, sizeof(void*) == 8);
}

TEST_P(PeExportList, ImportsSystemDllsOnly) {
    const PeTables tables = readPeTables(GetParam());
    const std::set<std::string> system{"kernel32.dll", "msvcrt.dll"};
    EXPECT_FALSE(tables.importedDlls.empty());  // KERNEL32 at least: the reader found the table
    for (const auto& dll : tables.importedDlls) EXPECT_EQ(system.count(lowerCase(dll)), 1u) << dll;
    EXPECT_TRUE(tables.delayLoadedDlls.empty());
}

// Loading runs no code of the project: the only static initialisers are the C++ runtime's own.
TEST_P(PeExportList, LoadRunsNoProjectCode) {
    const PeTables tables = readPeTables(GetParam());
    EXPECT_FALSE(tables.staticInitialisers.empty());  // the runtime's: the reader found them
    for (const auto& name : tables.staticInitialisers)
        EXPECT_EQ(name.find("3qev"), std::string::npos) << name;
}

INSTANTIATE_TEST_SUITE_P(Plugins, PeExportList, ::testing::Values(RANDOM_PLUGIN, ARRAY_PLUGIN),
                         [](const auto& info) {
                             return std::string(info.index == 0 ? "QevRandom" : "QevRandomArray");
                         });
