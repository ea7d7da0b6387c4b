// Loading plug-ins: every refusal is a LoadError with a one-line message naming the problem.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "qevhost/errors.h"
#include "qevhost/plugin.h"
#include "temp_file.h"

using namespace qevhost;

namespace {

std::string loadFailure(const std::string& path) {
    try {
        Plugin::open(path);
    } catch (const LoadError& e) {
        return e.what();
    }
    return "(loaded)";
}

constexpr int kShared = 3, kRelocatable = 1;
constexpr int kI386 = 3, kX86_64 = 62, kArm = 40;

}  // namespace

TEST(PluginLoad, MissingFile) {
    EXPECT_EQ(loadFailure("/nonexistent/Plug.so"), "/nonexistent/Plug.so: no such file");
}

TEST(PluginLoad, FilesThatAreNotSharedLibraries) {
    TempFile text("text.so", "this is not a plug-in\n");
    EXPECT_EQ(loadFailure(text.path()), text.path() + ": not a shared library");
    TempFile empty("empty.so", "");
    EXPECT_EQ(loadFailure(empty.path()), empty.path() + ": not a shared library");
    TempFile object("object.o", elfHeader(2, kRelocatable, kX86_64));
    EXPECT_EQ(loadFailure(object.path()), object.path() + ": not a shared library");
    EXPECT_EQ(loadFailure("/tmp"), "/tmp: not a shared library");
}

TEST(PluginLoad, OtherArchitectureIsToldFromTheElfHeader) {
    // The header alone decides: the rest of these files is zeros, which dlopen would reject
    // with a less helpful message.
    TempFile elf32("elf32.so", elfHeader(1, kShared, kI386));
    TempFile elf64("elf64.so", elfHeader(2, kShared, kX86_64));
    const std::string ownMessage = loadFailure(kHostBits == 32 ? elf32.path() : elf64.path());
    EXPECT_EQ(ownMessage.find("plug-in: use"), std::string::npos) << ownMessage;
    if (kHostBits == 64) {
        EXPECT_EQ(loadFailure(elf32.path()),
                  elf32.path() + ": 32-bit plug-in: use build/x86/qevhost");
    } else {
        EXPECT_EQ(loadFailure(elf64.path()),
                  elf64.path() + ": 64-bit plug-in: use build/x64/qevhost");
    }
    TempFile arm("arm.so", elfHeader(1, kShared, kArm));
    EXPECT_EQ(loadFailure(arm.path()), arm.path() + ": not an x86 or x86-64 plug-in");
}

TEST(PluginLoad, TheOtherTreesRealPluginIsRefused) {
    std::ifstream other(OTHER_TREE_PLUGIN);
    if (!other) GTEST_SKIP() << "other tree not built: " << OTHER_TREE_PLUGIN;
    EXPECT_NE(loadFailure(OTHER_TREE_PLUGIN)
                  .find(kHostBits == 64 ? "32-bit plug-in: use build/x86"
                                        : "64-bit plug-in: use build/x64"),
              std::string::npos);
}

TEST(PluginLoad, MissingExportIsNamed) {
    EXPECT_EQ(loadFailure(PARTIAL_PLUGIN),
              std::string(PARTIAL_PLUGIN) + ": missing export Destroy");
}

TEST(PluginLoad, ResolvesAllExports) {
    auto plugin = Plugin::open(PROBE_PLUGIN);
    EXPECT_EQ(plugin->sdkVersion(), 601001);
    EXPECT_EQ(plugin->bits(), kHostBits);
    std::set<std::string> names(kExportNames.begin(), kExportNames.end());
    EXPECT_EQ(names.size(), 34u);
    // Each member is bound to the export of its own name: the probe answers 17 here only.
    const Exports& e = plugin->exports();
    void* object = nullptr;
    e.Create(&object);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(e.GetChunkLen(object, 0), 17);
    EXPECT_EQ(e.GetNumberOfParams(object, 0), 4);
    e.Destroy(object);
}
