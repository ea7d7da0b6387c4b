// A plug-in that crashes: describe and run end with one line naming the entry point and the
// signal or exception, exit code 1, and what was printed before the crash stays.
#include <gtest/gtest.h>

#include "qevhost_process.h"

namespace {

#ifdef _WIN32
constexpr const char* kCrashLine =
    "qevhost: the plug-in crashed in GetParamInfo: exception 0xc0000005 (access violation)";
#else
constexpr const char* kCrashLine =
    "qevhost: the plug-in crashed in GetParamInfo: signal 11 (Segmentation fault)";
#endif

}  // namespace

TEST(CliCrash, OneLineNamesTheEntryPoint) {
    for (const char* command : {"describe", "run"}) {
        SCOPED_TRACE(command);
        const ProcessResult r = runQevhost({command, BAD_CAPTION_PLUGIN});
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(r.out, "Qev Flawed: describing Output\n");
        const auto errLines = lines(r.err);
        ASSERT_FALSE(errLines.empty());
#if QEV_SANITIZED
        // The sanitizer catches the fault first: it reports it and exits with its own code.
        EXPECT_NE(r.err.find("SEGV"), std::string::npos) << r.err;
#else
        // The last line, and qevhost's only one (an emulator may add a line of its own).
        EXPECT_EQ(errLines.back(), kCrashLine) << r.err;
        int fromQevhost = 0;
        for (const auto& line : errLines) fromQevhost += line.rfind("qevhost: ", 0) == 0;
        EXPECT_EQ(fromQevhost, 1) << r.err;
#endif
    }
}
