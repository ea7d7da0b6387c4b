// One version everywhere: the newest heading of CHANGELOG.md, the build's version (project() in
// CMakeLists.txt, through qev_version.h), `qevhost --version` and the version each module writes
// into its ModuleInfo.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

#include "cli_test_support.h"
#include "qev_version.h"
#include "qevhost_process.h"

namespace {

// The version of the first "## VERSION ..." heading, or "" when there is none.
std::string newestChangelogVersion(const char* path) {
    std::ifstream file(path);
    const std::regex heading("## ([0-9][0-9A-Za-z.-]*)\\b.*\r?");
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (std::regex_match(line, match, heading)) return match[1];
    }
    return "";
}

}  // namespace

TEST(Version, ChangelogBuildHostAndModulesAgree) {
    const std::string changelog = newestChangelogVersion(CHANGELOG_FILE);
    EXPECT_EQ(changelog, QEV_VERSION) << CHANGELOG_FILE;

    const ProcessResult host = runQevhost({"--version"});
    EXPECT_EQ(host.exitCode, 0);
    EXPECT_EQ(host.out, std::string("qevhost ") + QEV_VERSION + "\n");

    for (const char* path : {RANDOM_PLUGIN, ARRAY_PLUGIN}) {
        const LibraryModule loaded(path, {});
        EXPECT_EQ(loaded.module->description().version, QEV_VERSION) << path;
    }
}
