// What a person gets when something is wrong: one line on stderr, a non-zero exit, no crash.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "qevhost_process.h"
#include "temp_file.h"

namespace {

// Runs qevhost and checks for exactly one stderr line holding `message`, and the exit code.
void expectError(const std::vector<std::string>& args, int exitCode, const std::string& message) {
    const ProcessResult r = runQevhost(args);
    EXPECT_EQ(r.exitCode, exitCode) << r.err;
    EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.rfind("qevhost: ", 0), 0u) << r.err;
}

}  // namespace

TEST(CliErrors, PluginsThatCannotBeLoaded) {
    expectError({"describe", "/nonexistent/Plug.so"}, 1, "/nonexistent/Plug.so: no such file");
    TempFile text("cli-text.so", "plain text\n");
    expectError({"run", text.path()}, 1, text.path() + ": not a shared library");
    expectError({"describe", PARTIAL_PLUGIN}, 1, "missing export Destroy");
}

TEST(CliErrors, PluginOfTheOtherArchitecture) {
    const int otherBits = sizeof(void*) == 4 ? 64 : 32;
    TempFile other("cli-other.so", libraryHeader(otherBits, kWindowsHost));
    expectError(
        {"describe", other.path()}, 1,
        std::to_string(otherBits) + "-bit plug-in: use " + hostProgram(otherBits, kWindowsHost));
}

TEST(CliErrors, UnknownCaptionListsTheCaptions) {
    expectError({"run", RANDOM_PLUGIN, "--set", "Octave=3"}, 1,
                "unknown parameter \"Octave\"; parameters: \"Input\", \"Random Seed\", \"Scale\"");
    expectError({"run", RANDOM_PLUGIN, "--set", "13=1"}, 1, "unknown parameter \"13\"");
}

TEST(CliErrors, BadValues) {
    expectError({"run", RANDOM_PLUGIN, "--set", "Scale=abc"}, 1,
                "\"abc\" is not a number (for Scale)");
    expectError({"run", RANDOM_PLUGIN, "--set", "Scale="}, 1, "is not a number");
    expectError({"run", RANDOM_PLUGIN, "--set", "Scale"}, 1, "--set needs CAPTION=VALUE");
    expectError({"run", ARRAY_PLUGIN, "--set", "Mode=Sometimes"}, 1, "is not a number (for Mode)");
    expectError({"run", RANDOM_PLUGIN, "--input", "0:1:0"}, 1,
                "the step must lead from FROM to TO");
    expectError({"run", RANDOM_PLUGIN, "--input", "1:0:0.5"}, 1, "the step must lead");
    expectError({"run", RANDOM_PLUGIN, "--input", "0,x"}, 1, "\"x\" is not a number");
}

TEST(CliErrors, BadFpEnvironment) {
    expectError({"run", RANDOM_PLUGIN, "--fp-env", "round=sideways"}, 2,
                "--fp-env: \"round=sideways\": the rounding is nearest, down, up or zero");
    expectError({"run", RANDOM_PLUGIN, "--fp-env", "ftz,fast"}, 2,
                "--fp-env: unknown item \"fast\"; use ftz, daz, round=nearest|down|up|zero");
}

TEST(CliErrors, OutputsCannotBeSet) {
    expectError({"run", RANDOM_PLUGIN, "--set", "output=1"}, 1,
                "Output is an output: --set takes inputs only");
    expectError({"run", ARRAY_PLUGIN, "--set", "Float Out=1"}, 1, "Float Out is an output");
}

TEST(CliErrors, OptionsThatDoNotFitTheModule) {
    expectError({"run", ARRAY_PLUGIN, "--input", "0:1:1"}, 1, "--input");
    expectError({"run", RANDOM_PLUGIN, "--press"}, 1, "--press");
    expectError({"run", RANDOM_PLUGIN, "--plot", "/nonexistent/dir/plot.svg", "--input", "0"}, 1,
                "cannot write /nonexistent/dir/plot.svg");
}

TEST(CliErrors, WrongUseOfTheCommandLine) {
    expectError({}, 2, "no command; try qevhost --help");
    expectError({"frobnicate"}, 2, "unknown command \"frobnicate\"; try qevhost --help");
    expectError({"--bogus"}, 2, "unknown option --bogus; try qevhost --help");
    expectError({"describe"}, 2, "usage: qevhost describe PLUGIN");
    expectError({"describe", RANDOM_PLUGIN, "extra"}, 2,
                "unexpected argument extra; try qevhost describe --help");
    expectError({"run"}, 2, "usage: qevhost run PLUGIN");
    expectError({"run", RANDOM_PLUGIN, "--bogus", "1"}, 2,
                "qevhost: unknown option --bogus; try qevhost run --help\n");
    expectError({"run", RANDOM_PLUGIN, "--set"}, 2,
                "qevhost: --set needs a value; try qevhost run --help\n");
    expectError({"validate", "--call-limit"}, 2, "--call-limit needs a value");
    expectError({"run", ARRAY_PLUGIN, "--press", "--no-press"}, 2, "exclude each other");
    expectError({"run", RANDOM_PLUGIN, "--compare", "Input=1,2"}, 1, "\"Input\" is on the x axis");
}

TEST(CliErrors, OutOfRangeValueWarnsAndIsPassedOn) {
    const ProcessResult r =
        runQevhost({"run", RANDOM_PLUGIN, "--csv", "--input", "0.5", "--set", "Octaves=20"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(lines(r.err),
              std::vector<std::string>{
                  "qevhost: warning: Octaves 20 is outside 0 to 16; passed on as given"});
    LibraryModule library(RANDOM_PLUGIN, {{random_param::kOctaves, 20}});
    library.module->setValue(random_param::kInput, 0.5f);
    library.module->process();
    const auto rows = parseCsv(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(readFloat(rows[1][1]), library.module->value(random_param::kOutput));
}

TEST(CliErrors, HelpForEveryCommandIsNoError) {
    for (const char* command : {"", "describe", "run", "validate"}) {
        const std::string name = command;
        const ProcessResult r = runQevhost(name.empty() ? std::vector<std::string>{"--help"}
                                                        : std::vector<std::string>{name, "--help"});
        EXPECT_EQ(r.exitCode, 0) << name;
        EXPECT_EQ(r.err, "") << name;
        EXPECT_NE(r.out.find("Usage: qevhost" + (name.empty() ? "" : " " + name)),
                  std::string::npos)
            << r.out;
    }
    EXPECT_NE(runQevhost({"run", "--help"}).out.find("--compare CAPTION=V1,V2,..."),
              std::string::npos);
}

TEST(CliErrors, PluginReportsArePrintedAsTheyArrive) {
    // The probe reports every change of "Gain" and writes into host-owned ParamInfo bytes.
    const ProcessResult r = runQevhost({"run", PROBE_PLUGIN, "--set", "gain=3", "--set", "0=4"});
    EXPECT_EQ(r.exitCode, 1);
    const auto errors = lines(r.err);
    ASSERT_EQ(errors.size(), 4u) << r.err;
    EXPECT_EQ(errors[0], "qevhost: plug-in reported: \"probe: gain changed\"");
    EXPECT_EQ(errors[1], errors[0]);
    EXPECT_EQ(errors[2].rfind("qevhost: host error: GetParamInfo(3)", 0), 0u) << errors[2];
    EXPECT_EQ(errors[3].rfind("qevhost: no values printed", 0), 0u) << errors[3];
    EXPECT_EQ(r.out, "");
}
