// One named check of the validator: what it claims, and how it finds out.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qevhost::validate {

struct CheckResult {
    bool passed = true;
    std::string note;     // why it failed, or a short remark on a pass
    std::string untried;  // a pass in part: what this run could not try ("some environments")

    static CheckResult pass(std::string note = {}) { return {true, std::move(note), {}}; }
    static CheckResult passInPart(std::string untried, std::string note) {
        return {true, std::move(note), std::move(untried)};
    }
    static CheckResult fail(std::string reason) { return {false, std::move(reason), {}}; }
};

struct CheckContext {
    std::string pluginPath;
};

struct Check {
    const char* name;
    const char* description;  // one line
    CheckResult (*run)(const CheckContext& context);
};

// Every check, in the order they run.
const std::vector<Check>& allChecks();

CheckResult loadCheck(const CheckContext& context);
CheckResult describeCheck(const CheckContext& context);
CheckResult instancesCheck(const CheckContext& context);
CheckResult determinismCheck(const CheckContext& context);
CheckResult threadsCheck(const CheckContext& context);
CheckResult fuzzCheck(const CheckContext& context);
CheckResult hostRulesCheck(const CheckContext& context);
CheckResult orderCheck(const CheckContext& context);
CheckResult realTimeCheck(const CheckContext& context);
CheckResult fpEnvironmentCheck(const CheckContext& context);

// The fp-environment check's pass: how many environments it ran, and those this processor or
// emulator would not hold; a pass in part when there are any.
CheckResult fpEnvironmentPass(std::size_t tried, const std::vector<std::string>& notHeld);

}  // namespace qevhost::validate
