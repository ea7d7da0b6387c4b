// `qevhost describe` on both plug-ins, run as a user would.
#include <gtest/gtest.h>

#include <regex>

#include "qevhost_process.h"

namespace {

// Table rows: they start with the parameter index.
std::vector<std::string> paramRows(const std::string& out) {
    std::vector<std::string> rows;
    for (const auto& line : lines(out)) {
        if (std::regex_search(line, std::regex("^[0-9]+ +[A-Z]"))) rows.push_back(line);
    }
    return rows;
}

bool hasRow(const std::vector<std::string>& rows, const std::string& pattern) {
    for (const auto& row : rows) {
        if (std::regex_search(row, std::regex(pattern))) return true;
    }
    return false;
}

const std::string kArch = sizeof(void*) == 4 ? "(32-bit x86)" : "(64-bit x86-64)";

}  // namespace

TEST(CliDescribe, QevRandom) {
    const ProcessResult r = runQevhost({"describe", RANDOM_PLUGIN});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Qev Random (Qev-Random)"), std::string::npos);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("Version +2\\.0\n")));
    EXPECT_TRUE(std::regex_search(r.out, std::regex("SDK version +601001\n")));
    EXPECT_NE(r.out.find(std::string(RANDOM_PLUGIN) + " " + kArch), std::string::npos);
    const auto rows = paramRows(r.out);
    ASSERT_EQ(rows.size(), 13u) << r.out;
    EXPECT_TRUE(hasRow(rows, "^0 +Input +NumberBox +in +-FLT_MAX +FLT_MAX +0 +%\\.8f +c1$"));
    EXPECT_TRUE(hasRow(rows,
                       "^1 +Random Seed +NumberBox +in +-FLT_MAX +FLT_MAX +42 +%\\.0f +new "
                       "+c1 m2$"));
    EXPECT_TRUE(hasRow(rows, "^2 +Scale +NumberBox +in +2e-08 +FLT_MAX +1 +%\\.8f +c1 s0$"));
    EXPECT_TRUE(hasRow(rows, "^9 +Noise Gain +Fader +in +2e-05 +0\\.99998 +0\\.5 +%\\.5f +c1 s0$"));
    EXPECT_TRUE(hasRow(rows, "^12 +Output +NumberBox +out .* new +c1$"));
}

TEST(CliDescribe, QevRandomArray) {
    const ProcessResult r = runQevhost({"describe", ARRAY_PLUGIN});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Qev RandomArray (Qev-RandomArray)"), std::string::npos);
    const auto rows = paramRows(r.out);
    ASSERT_EQ(rows.size(), 16u) << r.out;
    EXPECT_TRUE(hasRow(rows,
                       "^0 +Mode +ListBox +in +- +- +0 +- +c1 +Automatic Update \\| "
                       "Update on Click$"));
    EXPECT_TRUE(hasRow(rows, "^1 +Calculate Array +Button +in +- +- +- +- +c1 m0$"));
    EXPECT_TRUE(hasRow(rows, "^13 +Array Size +Fader +in +1 +2048 +16 +%\\.0f +new +c1 s0$"));
    EXPECT_TRUE(hasRow(rows, "^14 +Float Out +DataArray +out .* - +new +c1$"));
}

TEST(CliDescribe, HostErrorsAreShownAndFail) {
    // The probe writes into host-owned ParamInfo bytes for its fourth parameter.
    const ProcessResult r = runQevhost({"describe", PROBE_PLUGIN});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("Host Probe (Probe)"), std::string::npos);
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find("qevhost: host error: GetParamInfo(3) overwrote host-owned ParamInfo"),
              std::string::npos)
        << r.err;
}
