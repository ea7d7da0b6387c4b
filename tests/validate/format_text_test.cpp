// The validator's reading of a parameter table's texts: display formats and list items.
#include "format_text.h"

#include <gtest/gtest.h>

namespace qevhost::validate {
namespace {

TEST(FormatText, OneFloatingPointConversion) {
    for (const char* format :
         {"%.0f", "%.5f", "%.8f", "%g", "%8.2e dB", "%-+ #0.3F", "%lf", "100%% at %.1f"}) {
        EXPECT_TRUE(singleFloatConversion(format)) << format;
    }
    for (const char* format :
         {"", "%", "%%", "value", "%d", "%s", "%.5f %.5f", "%*.2f", "%Lf", "%.5", "%.2f%"}) {
        EXPECT_FALSE(singleFloatConversion(format)) << format;
    }
}

TEST(FormatText, ListItemsQuotedAndCommaSeparated) {
    EXPECT_TRUE(wellFormedListItems("\"Automatic Update\",\"Update on Click\""));
    EXPECT_TRUE(wellFormedListItems("\"One\""));
    for (const char* items :
         {"", "One", "\"\"", "\"A\", \"B\"", "\"A\",,\"B\"", "\"A\",", "\"A\"\"B\"", "\"A"}) {
        EXPECT_FALSE(wellFormedListItems(items)) << items;
    }
}

}  // namespace
}  // namespace qevhost::validate
