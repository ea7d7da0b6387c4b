#include "validator.h"

#include <cstdio>
#include <stdexcept>

#include "check_methods.h"

namespace qevhost::validate {

namespace {

bool contains(const std::vector<std::string>& names, const char* name) {
    for (const auto& n : names) {
        if (n == name) return true;
    }
    return false;
}

void requireKnown(const std::vector<std::string>& names) {
    for (const auto& name : names) {
        bool known = false;
        for (const auto& check : allChecks()) known = known || name == check.name;
        if (!known) throw std::invalid_argument("no check named \"" + name + "\"");
    }
}

}  // namespace

std::vector<const Check*> selectChecks(const std::vector<std::string>& names,
                                       const std::vector<std::string>& skipped) {
    requireKnown(names);
    requireKnown(skipped);
    std::vector<const Check*> selected;
    for (const auto& check : allChecks()) {
        if ((names.empty() || contains(names, check.name)) && !contains(skipped, check.name)) {
            selected.push_back(&check);
        }
    }
    return selected;
}

int validatePlugin(const ValidateOptions& options) {
    const CheckContext context{options.pluginPath};
    int passed = 0, failed = 0;
    std::vector<std::string> inPart;
    for (const Check* check : selectChecks(options.checks, options.skipped)) {
        const CheckResult result = runIsolated(*check, context, options.limits);
        std::string line = std::string(result.passed ? "pass" : "fail") + "  " + check->name;
        line.resize(22, ' ');
        line += check->description;
        if (!result.passed) {
            line += ": " + result.note;
        } else if (!result.untried.empty()) {
            line += " (" + result.untried + (result.note.empty() ? "" : ": " + result.note) + ")";
        } else if (!result.note.empty()) {
            line += " (" + result.note + ")";
        }
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (!result.passed) {
            failed += 1;
        } else if (!result.untried.empty()) {
            inPart.push_back(result.untried);
        } else {
            passed += 1;
        }
    }
    std::printf("%s\n", summaryLine(passed, inPart, failed).c_str());
    std::fflush(stdout);
    return failed;
}

std::string summaryLine(int passed, const std::vector<std::string>& inPart, int failed) {
    std::string line = std::to_string(passed) + " passed";
    for (const auto& untried : inPart) line += ", 1 passed with " + untried;
    return line + ", " + std::to_string(failed) + " failed";
}

void listChecks() {
    for (const auto& check : allChecks()) {
        std::string line = check.name;
        line.resize(16, ' ');
        std::printf("%s%s\n%16show: %s\n", line.c_str(), check.description, "",
                    checkMethod(check.name).c_str());
    }
    std::printf("\n%s\n", isolationMethod());
}

}  // namespace qevhost::validate
