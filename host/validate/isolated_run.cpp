#include "isolated_run.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

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

int gResultPipe = -1;

// The child's result on the pipe: 'P' or 'F', then the note.
void sendResult(const CheckResult& result) {
    const std::string text = (result.passed ? "P" : "F") + result.note;
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(gResultPipe, text.data() + sent, text.size() - sent);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
}

[[noreturn]] void failOnHang(const std::string& reason) {
    sendResult(CheckResult::fail(reason));
    _exit(3);
}

[[noreturn]] void runChild(const Check& check, const CheckContext& context,
                           const RunLimits& limits) {
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
    sendResult(result);
    _exit(0);
}

// Everything the child wrote, until it closes the pipe or the time is up.
bool readResult(int fd, double seconds, std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    char buffer[512];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left < 1000 ? left : 1000));
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0) continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string signalText(int signal) {
    const char* name = strsignal(signal);
    return "crashed: signal " + std::to_string(signal) +
           (name ? std::string(" (") + name + ")" : "");
}

}  // namespace

CheckResult runIsolated(const Check& check, const CheckContext& context, const RunLimits& limits) {
    int fds[2];
    if (pipe(fds) != 0) return CheckResult::fail("cannot make a pipe");
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) return CheckResult::fail("cannot start a process");
    if (child == 0) {
        close(fds[0]);
        gResultPipe = fds[1];
        runChild(check, context, limits);
    }
    close(fds[1]);
    std::string text;
    const bool finished = readResult(fds[0], limits.checkSeconds, text);
    close(fds[0]);
    if (!finished) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished) {
        char limit[32];
        std::snprintf(limit, sizeof limit, "%g", limits.checkSeconds);
        return CheckResult::fail(std::string("did not finish within ") + limit + " s");
    }

    const bool haveResult = !text.empty();
    const CheckResult reported{haveResult && text[0] == 'P', haveResult ? text.substr(1) : ""};
    if (WIFSIGNALED(status)) {
        return CheckResult::fail(signalText(WTERMSIG(status)) +
                                 (haveResult && !reported.passed ? ": " + reported.note : ""));
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!haveResult)
        return CheckResult::fail("ended without a result, exit status " + std::to_string(code));
    if (!reported.passed || code == 0) return reported;
    // A tool watching the process (valgrind, a sanitizer) found errors after the check passed.
    return CheckResult::fail("passed, but the process exited with status " + std::to_string(code) +
                             " (see the report above)");
}

}  // namespace qevhost::validate
