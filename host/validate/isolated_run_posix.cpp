#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include "isolated_child.h"
#include "qevplatform/child_process.h"

namespace qevhost::validate {

namespace {

int gResultPipe = -1;

void sendResult(const CheckResult& result) {
    const std::string text = resultText(result);
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(gResultPipe, text.data() + sent, text.size() - sent);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
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

}  // namespace

// The child is a copy of this process made by fork: it runs the check straight away and sends
// its result through a pipe.
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
        sendResult(runWatched(check, context, limits, sendResult));
        _exit(0);
    }
    close(fds[1]);
    ChildEnd end;
    end.finished = readResult(fds[0], limits.checkSeconds, end.text);
    close(fds[0]);
    if (!end.finished) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    end.crashed = WIFSIGNALED(status);
    if (end.crashed) end.crash = platform::crashText(static_cast<unsigned>(WTERMSIG(status)));
    end.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return verdict(end, limits);
}

}  // namespace qevhost::validate
