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
constexpr int kX86_64 = 62, kArm = 40;

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
    TempFile program("program.exe", peHeader(0x8664, 0x0102));
    EXPECT_EQ(loadFailure(program.path()), program.path() + ": not a shared library");
    EXPECT_EQ(loadFailure("."), ".: not a shared library");
}

TEST(PluginLoad, OtherArchitectureIsToldFromTheFileHeader) {
    // The header alone decides: the rest of these files is zeros, which the system's loader
    // would reject with a less helpful message.
    TempFile own("own.so", libraryHeader(kHostBits, kWindowsHost));
    const std::string ownMessage = loadFailure(own.path());
    EXPECT_EQ(ownMessage.find("plug-in: use"), std::string::npos) << ownMessage;
    const int otherBits = kHostBits == 64 ? 32 : 64;
    TempFile otherWidth("other-width.so", libraryHeader(otherBits, kWindowsHost));
    EXPECT_EQ(loadFailure(otherWidth.path()), otherWidth.path() + ": " + std::to_string(otherBits) +
                                                  "-bit plug-in: use " +
                                                  hostProgram(otherBits, kWindowsHost));
    TempFile otherSystem("other-system.so", libraryHeader(kHostBits, !kWindowsHost));
    EXPECT_EQ(loadFailure(otherSystem.path()),
              otherSystem.path() + ": " + std::to_string(kHostBits) + "-bit " +
                  (kWindowsHost ? "Linux" : "Windows") + " plug-in: use " +
                  hostProgram(kHostBits, !kWindowsHost));
    TempFile arm("arm.so", elfHeader(1, kShared, kArm));
    EXPECT_EQ(loadFailure(arm.path()), arm.path() + ": not an x86 or x86-64 plug-in");
    TempFile armDll("arm.dll", peHeader(0x1c4, 0x2102));
    EXPECT_EQ(loadFailure(armDll.path()), armDll.path() + ": not an x86 or x86-64 plug-in");
}

TEST(PluginLoad, TheOtherTreesRealPluginIsRefused) {
    std::ifstream other(OTHER_TREE_PLUGIN);
    if (!other) GTEST_SKIP() << "other tree not built: " << OTHER_TREE_PLUGIN;
    EXPECT_NE(loadFailure(OTHER_TREE_PLUGIN)
                  .find(kHostBits == 64 ? "32-bit plug-in: use " + hostProgram(32, kWindowsHost)
                                        : "64-bit plug-in: use " + hostProgram(64, kWindowsHost)),
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
