#include "isolated_child.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "qevplatform/child_process.h"
#include "watchdog.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEV_LEAK_CHECK 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QEV_LEAK_CHECK 1
#endif
#ifdef QEV_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace qevhost::validate {

namespace {

void (*gSend)(const CheckResult& result) = nullptr;

void failOnHang(const std::string& reason);

void sendToStandardOutput(const CheckResult& result) {
    platform::writeOut(kChildResultMark + resultText(result));
}

}  // namespace

std::string resultText(const CheckResult& result) {
    if (!result.passed) return "F" + result.note;
    if (result.untried.empty()) return "P" + result.note;
    return "U" + result.untried + '\n' + result.note;
}

CheckResult resultFromText(const std::string& text) {
    if (text.empty()) return CheckResult::fail({});
    if (text[0] == 'P') return CheckResult::pass(text.substr(1));
    const std::size_t end = text.find('\n');
    if (text[0] == 'U' && end != std::string::npos) {
        return CheckResult::passInPart(text.substr(1, end - 1), text.substr(end + 1));
    }
    return CheckResult::fail(text.substr(1));
}

CheckResult runWatched(const Check& check, const CheckContext& context, const RunLimits& limits,
                       void (*send)(const CheckResult& result)) {
    gSend = send;
    startWatchdog(limits.callSeconds, failOnHang);
    CheckResult result;
    try {
        result = check.run(context);
    } catch (const std::exception& e) {
        result = CheckResult::fail(e.what());
    } catch (...) {
        result = CheckResult::fail("an exception of unknown type reached the host");
    }
#ifdef QEV_LEAK_CHECK
    if (result.passed && __lsan_do_recoverable_leak_check() != 0) {
        result = CheckResult::fail("memory leaked (see the report above)");
    }
#endif
    return result;
}

CheckResult verdict(const ChildEnd& end, const RunLimits& limits) {
    if (!end.finished) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "%g", limits.checkSeconds);
        return CheckResult::fail(std::string("did not finish within ") + limit + " s");
    }
    const bool haveResult = !end.text.empty();
    const CheckResult reported = resultFromText(end.text);
    if (end.crashed) {
        return CheckResult::fail("crashed: " + end.crash +
                                 (haveResult && !reported.passed ? ": " + reported.note : ""));
    }
    if (!haveResult) {
        return CheckResult::fail("ended without a result, exit status " +
                                 std::to_string(end.exitCode));
    }
    if (!reported.passed || end.exitCode == 0) return reported;
    // A tool watching the process (valgrind, a sanitizer) found errors after the check passed.
    return CheckResult::fail("passed, but the process exited with status " +
                             std::to_string(end.exitCode) + " (see the report above)");
}

int isolatedCheckMain(int argc, char** argv) {
    platform::endOnCrash();
    if (argc != 3) return 2;
    RunLimits limits;
    limits.callSeconds = std::strtod(argv[1], nullptr);
    for (const auto& check : allChecks()) {
        if (check.name != std::string(argv[0])) continue;
        sendToStandardOutput(
            runWatched(check, CheckContext{argv[2]}, limits, sendToStandardOutput));
        platform::endProcessNow(0);
    }
    return 2;
}

namespace {

void failOnHang(const std::string& reason) {
    gSend(CheckResult::fail(reason));
    // The stuck thread cannot be taken back: end without waiting for it.
    platform::endProcessNow(3);
}

}  // namespace

}  // namespace qevhost::validate
