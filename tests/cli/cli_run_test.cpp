// `qevhost run`: what it prints equals what the host library computes for the same settings.
#include <gtest/gtest.h>

#include <cmath>

#include "cli_test_support.h"
#include "qevhost_process.h"

namespace rp = random_param;
namespace ap = array_param;

namespace {

// Runs Qev Random with --csv and checks every Input/Output pair against the library.
void expectRandomRunMatches(const std::vector<std::string>& extraArgs,
                            const std::vector<float>& inputs,
                            const std::vector<std::pair<int32_t, float>>& changes) {
    std::vector<std::string> args = {"run", RANDOM_PLUGIN, "--csv"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    const ProcessResult r = runQevhost(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = parseCsv(r.out);
    ASSERT_EQ(rows.size(), inputs.size() + 1) << r.out;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Input", "Output"}));

    LibraryModule library(RANDOM_PLUGIN, changes);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        library.module->setValue(rp::kInput, inputs[i]);
        library.module->process();
        EXPECT_EQ(readFloat(rows[i + 1][0]), inputs[i]) << "row " << i;
        EXPECT_EQ(readFloat(rows[i + 1][1]), library.module->value(rp::kOutput)) << "row " << i;
    }
}

// Checks the Index/Float Out/Integer Out table against the library's arrays.
void expectArrayTableMatches(const std::string& out, const qevhost::Module& library) {
    const auto rows = parseCsv(out);
    const auto& floats = library.array(ap::kFloatOut);
    const auto& integers = library.array(ap::kIntegerOut);
    ASSERT_EQ(rows.size(), floats.size() + 1) << out;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Index", "Float Out", "Integer Out"}));
    for (std::size_t i = 0; i < floats.size(); ++i) {
        EXPECT_EQ(rows[i + 1][0], std::to_string(i));
        EXPECT_EQ(readFloat(rows[i + 1][1]), floats[i]) << "row " << i;
        const float integer = readFloat(rows[i + 1][2]);
        EXPECT_EQ(integer, integers[i]) << "row " << i;
        EXPECT_EQ(std::signbit(integer), std::signbit(integers[i])) << "row " << i;
    }
}

}  // namespace

TEST(CliRun, QevRandomRampWithSettingsByCaptionAnyCaseAndIndex) {
    const std::vector<float> inputs = {0, 0.25f, 0.5f, 0.75f, 1, 1.25f, 1.5f, 1.75f, 2};
    expectRandomRunMatches({"--input", "0:2:0.25", "--set", "octaves=2.5", "--set", "FADE=0.5",
                            "--set=1=7", "--set", "Noise Bias=0.3"},
                           inputs,
                           {{rp::kOctaves, 2.5f}, {rp::kFade, 0.5f}, {rp::kSeed, 7}, {8, 0.3f}});
}

TEST(CliRun, QevRandomInputListAndDefaults) {
    expectRandomRunMatches({"--input", "-3.25,0.1,1e3"}, {-3.25f, 0.1f, 1000}, {});
}

// What a wire carrying NaN or infinity does: a list takes them as given.
TEST(CliRun, QevRandomInputListTakesNanAndInfinity) {
    const ProcessResult r = runQevhost({"run", RANDOM_PLUGIN, "--csv", "--input", "nan,inf,-inf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = parseCsv(r.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1][0], "nan");
    EXPECT_EQ(rows[2][0], "inf");
    EXPECT_EQ(rows[3][0], "-inf");
    LibraryModule library(RANDOM_PLUGIN, {});
    for (std::size_t i = 0; i < 3; ++i) {
        library.module->setValue(rp::kInput, readFloat(rows[i + 1][0]));
        library.module->process();
        const float expected = library.module->value(rp::kOutput);
        const float printed = readFloat(rows[i + 1][1]);
        EXPECT_TRUE(printed == expected || (std::isnan(printed) && std::isnan(expected))) << i;
    }
}

TEST(CliRun, QevRandomDefaultRampCoversZeroToTwenty) {
    const ProcessResult r = runQevhost({"run", RANDOM_PLUGIN, "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = parseCsv(r.out);
    ASSERT_EQ(rows.size(), 162u);
    EXPECT_EQ(rows[1][0], "0");
    EXPECT_EQ(rows[161][0], "20");
}

TEST(CliRun, TextOutputHasTitleAndAlignedColumns) {
    const ProcessResult r = runQevhost(
        {"run", RANDOM_PLUGIN, "--input", "0,1", "--set", "Octaves=3", "--set", "fade=0.6"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(lines(r.out),
              (std::vector<std::string>{"# Qev Random: Octaves 3, Fade 0.6", "Input  Output",
                                        "0      0.38202173", "1      0.23680465"}));
}

TEST(CliRun, QevRandomArrayDefaultsAreComputed) {
    const ProcessResult r = runQevhost({"run", ARRAY_PLUGIN, "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    LibraryModule library(ARRAY_PLUGIN, {});
    library.module->callBack(ap::kCalculate);
    expectArrayTableMatches(r.out, *library.module);
}

TEST(CliRun, UpdateOnClickPressesTheButtonByItself) {
    const ProcessResult r =
        runQevhost({"run", ARRAY_PLUGIN, "--csv", "--set", "mode=update on click", "--set",
                    "Array Size=8", "--set", "Random Seed=7", "--set", "Octaves=0"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    LibraryModule library(ARRAY_PLUGIN,
                          {{ap::kMode, 1}, {ap::kSize, 8}, {ap::kSeed, 7}, {ap::kOctaves, 0}});
    library.module->callBack(ap::kCalculate);
    ASSERT_EQ(library.module->arrayLength(ap::kFloatOut), 8);
    expectArrayTableMatches(r.out, *library.module);
}

TEST(CliRun, NoPressKeepsHeldBackChanges) {
    // In "Update on Click" the size change waits for the button: 16 untouched elements.
    const ProcessResult r = runQevhost(
        {"run", ARRAY_PLUGIN, "--csv", "--no-press", "--set", "Mode=1", "--set", "array size=4"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    LibraryModule library(ARRAY_PLUGIN, {{ap::kMode, 1}, {ap::kSize, 4}});
    ASSERT_EQ(library.module->arrayLength(ap::kFloatOut), 16);
    expectArrayTableMatches(r.out, *library.module);
}

TEST(CliRun, AutomaticUpdateComputesOnTheSettingsOwnCallBack) {
    const ProcessResult r =
        runQevhost({"run", ARRAY_PLUGIN, "--csv", "--no-press", "--set", "Array Size=5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    LibraryModule library(ARRAY_PLUGIN, {{ap::kSize, 5}});
    expectArrayTableMatches(r.out, *library.module);
}

TEST(CliRun, CompareGivesOneColumnPerValueAsTheSingleRunsDo) {
    // Each value's column equals the output column of a run with that value set, for a block
    // module (one output) and for an array module (both arrays, named after the value).
    struct Case {
        std::vector<std::string> args, values;
        std::string caption;
    };
    const Case cases[] = {
        {{RANDOM_PLUGIN, "--input", "0:3:0.25", "--set", "Fade=0.6"},
         {"1", "2.5", "16"},
         "Octaves"},
        {{ARRAY_PLUGIN, "--set", "Array Size=12"}, {"42", "7"}, "Random Seed"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"run", "--csv"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string list;
        for (const auto& v : c.values) list += (list.empty() ? "" : ",") + v;
        auto compareArgs = args;
        compareArgs.insert(compareArgs.end(), {"--compare", c.caption + "=" + list});
        const ProcessResult compared = runQevhost(compareArgs);
        ASSERT_EQ(compared.exitCode, 0) << compared.err;
        const auto rows = parseCsv(compared.out);
        std::size_t column = 1;
        for (const auto& v : c.values) {
            auto singleArgs = args;
            singleArgs.insert(singleArgs.end(), {"--set", c.caption + "=" + v});
            const auto single = parseCsv(runQevhost(singleArgs).out);
            ASSERT_EQ(single.size(), rows.size());
            for (std::size_t out = 1; out < single[0].size(); ++out, ++column) {
                const std::string value = c.caption + " " + v;
                EXPECT_EQ(rows[0][column],
                          single[0].size() == 2 ? value : single[0][out] + " (" + value + ")");
                for (std::size_t r = 1; r < rows.size(); ++r) {
                    EXPECT_EQ(rows[r][0], single[r][0]);
                    EXPECT_EQ(rows[r][column], single[r][out]) << value << " row " << r;
                }
            }
        }
        EXPECT_EQ(column, rows[0].size());
    }
}

TEST(CliRun, FpEnvPrintsTheBitsOfTheDefaultEnvironment) {
    // A host thread with FTZ, DAZ and another rounding mode gets the same bits, subnormal outputs
    // included.
    const std::vector<std::string> base = {
        "run",   RANDOM_PLUGIN,      "--csv", "--input",         "0:2:0.25",
        "--set", "Output Min=1e-40", "--set", "Output Max=3e-40"};
    const ProcessResult plain = runQevhost(base);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    for (const char* list : {"ftz,daz", "round=down", "round=up,ftz", "round=zero"}) {
        auto args = base;
        args.insert(args.end(), {"--fp-env", list});
        const ProcessResult r = runQevhost(args);
        EXPECT_EQ(r.exitCode, 0) << list << ": " << r.err;
        EXPECT_EQ(r.out, plain.out) << list;
    }
}

// The validator's test modules without the frame's own environment. One computes in whatever
// rounding its caller set: under --fp-env round=down its "Values" (thirds) must change.
TEST(CliRun, FpEnvReachesThePlugin) {
    const std::vector<std::string> base = {
        "run", FP_FOLLOWING_PLUGIN, "--csv", "--set", "Array Size=64", "--set", "Random Seed=7"};
    const ProcessResult nearest = runQevhost(base);
    ASSERT_EQ(nearest.exitCode, 0) << nearest.err;
    auto args = base;
    args.insert(args.end(), {"--fp-env", "round=down"});
    const ProcessResult down = runQevhost(args);
    ASSERT_EQ(down.exitCode, 0) << down.err;
    const auto near = parseCsv(nearest.out), below = parseCsv(down.out);
    ASSERT_EQ(near.size(), 65u) << nearest.out;
    ASSERT_EQ(below.size(), near.size()) << down.out;
    int lower = 0;
    for (std::size_t r = 1; r < near.size(); ++r) {
        const float a = readFloat(near[r][1]), b = readFloat(below[r][1]);
        EXPECT_LE(b, a) << "row " << r;
        lower += b < a;
    }
    EXPECT_GT(lower, 0) << "the same Values in round down as in round to nearest";
}

// The other leaves FTZ and DAZ on after each call: run names the change and exits 1.
TEST(CliRun, FpEnvReportsAPluginThatChangesIt) {
    const ProcessResult r = runQevhost(
        {"run", FP_LEAKING_PLUGIN, "--set", "Random Seed=7", "--fp-env", "round=nearest"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("qevhost: the plug-in's CallBack changed MXCSR"), std::string::npos)
        << r.err;
}
