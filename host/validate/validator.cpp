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
    for (const Check* check : selectChecks(options.checks, options.skipped)) {
        const CheckResult result = runIsolated(*check, context, options.limits);
        std::string line = std::string(result.passed ? "pass" : "fail") + "  " + check->name;
        line.resize(22, ' ');
        line += check->description;
        if (!result.note.empty()) {
            line += result.passed ? " (" + result.note + ")" : ": " + result.note;
        }
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        (result.passed ? passed : failed) += 1;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed;
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
