// `qevhost run` after the host refused a call: it names the call and prints no values, since the
// outlets no longer follow the settings. A negative "Array Size" reaches the real module's host as
// an empty array.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "qevhost_process.h"

TEST(CliRefusedCall, NegativeLengthPrintsNoStaleTable) {
    for (bool csv : {false, true}) {
        std::vector<std::string> args = {"run", NEGATIVE_LENGTH_PLUGIN, "--set", "Array Size=-3"};
        if (csv) args.push_back("--csv");
        const ProcessResult r = runQevhost(args);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("host error: setEventSize(-3) on parameter 4: size refused"),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("no values printed"), std::string::npos) << r.err;
    }
}

TEST(CliRefusedCall, NegativeArraySizeGivesEmptyArrays) {
    for (const char* size : {"Array Size=-3", "Array Size=-5504"}) {
        const ProcessResult r = runQevhost({"run", ARRAY_PLUGIN, "--csv", "--set", size});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "Index,Float Out,Integer Out\n") << size;
        EXPECT_EQ(r.err.find("host error"), std::string::npos) << r.err;
    }
}
