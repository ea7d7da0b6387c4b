// Checks on the texts of a parameter table: display formats and list items.
#pragma once

#include <string>

namespace qevhost::validate {

// True if the format holds exactly one conversion and it is for a floating-point number
// ("%.5f", "%g", "%8.2e dB"); "%%" is a literal percent sign.
bool singleFloatConversion(const std::string& format);

// True if the items are each enclosed in double quotes and separated by single commas without
// spaces, and none is empty: "\"A\",\"B\"".
bool wellFormedListItems(const std::string& items);

}  // namespace qevhost::validate
