// A run of the validator that could not try everything never reads as a full pass: the
// fp-environment check's verdict, its way from the child process, and the summary line.
#include <gtest/gtest.h>

#include "check.h"
#include "isolated_child.h"
#include "validator.h"

namespace qevhost::validate {
namespace {

TEST(ValidateSummary, FpEnvironmentSaysHowManyItRan) {
    const CheckResult all = fpEnvironmentPass(5, {});
    EXPECT_TRUE(all.passed);
    EXPECT_EQ(all.untried, "");
    EXPECT_EQ(all.note, "5 environments tried");

    const CheckResult some = fpEnvironmentPass(4, {"FTZ and DAZ"});
    EXPECT_TRUE(some.passed);
    EXPECT_EQ(some.untried, "some environments not tried");
    EXPECT_EQ(some.note,
              "4 of 5 environments tried; not held by this processor or emulator: "
              "FTZ and DAZ");
    EXPECT_EQ(fpEnvironmentPass(1, {"round down", "round up"}).untried,
              "some environments not tried");
}

TEST(ValidateSummary, PassInPartCrossesFromTheChild) {
    for (const CheckResult& sent :
         {CheckResult::pass("5 environments tried"), CheckResult::fail("under round down: x"),
          CheckResult::passInPart("some environments not tried", "1 of 5 environments tried")}) {
        const CheckResult got = resultFromText(resultText(sent));
        EXPECT_EQ(got.passed, sent.passed);
        EXPECT_EQ(got.untried, sent.untried);
        EXPECT_EQ(got.note, sent.note);
    }
}

TEST(ValidateSummary, LineTellsAPassInPartFromAPass) {
    EXPECT_EQ(summaryLine(10, {}, 0), "10 passed, 0 failed");
    EXPECT_EQ(summaryLine(9, {"some environments not tried"}, 0),
              "9 passed, 1 passed with some environments not tried, 0 failed");
    EXPECT_EQ(summaryLine(8, {"some environments not tried"}, 1),
              "8 passed, 1 passed with some environments not tried, 1 failed");
}

}  // namespace
}  // namespace qevhost::validate
