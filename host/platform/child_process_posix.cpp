#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "qevplatform/child_process.h"

namespace qevhost::platform {

namespace {

using Clock = std::chrono::steady_clock;

// Reads both pipes until they close or the time is up; false on time-out.
bool drain(int outFd, int errFd, std::string& out, std::string& err, Clock::time_point deadline,
           bool limited) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* texts[2] = {&out, &err};
    char buffer[4096];
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        int wait = 1000;
        if (limited) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            if (left <= 0) return false;
            if (left < wait) wait = static_cast<int>(left);
        }
        const int ready = poll(fds, 2, wait);
        if (ready < 0 && errno != EINTR) return false;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
            } else {
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    return true;
}

// Waits for the child to end; false when it is still running at the deadline.
bool waitFor(pid_t child, int& status, Clock::time_point deadline, bool limited) {
    for (;;) {
        const pid_t ended = waitpid(child, &status, limited ? WNOHANG : 0);
        if (ended == child) return true;
        if (ended < 0 && errno != EINTR) return true;
        if (ended == 0) {
            if (Clock::now() >= deadline) return false;
            usleep(10000);
        }
    }
}

}  // namespace

ChildOutcome runChild(const std::vector<std::string>& command, double seconds, bool captureErr,
                      bool captureOut) {
    ChildOutcome outcome;
    std::vector<std::string> words = command;
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1};
    if (captureOut && pipe(outPipe) != 0) return outcome;
    if (captureErr && pipe(errPipe) != 0) {
        if (captureOut) {
            close(outPipe[0]);
            close(outPipe[1]);
        }
        return outcome;
    }
    const pid_t child = fork();
    if (child == 0) {
        if ((captureOut && dup2(outPipe[1], 1) < 0) || (captureErr && dup2(errPipe[1], 2) < 0)) {
            _exit(126);
        }
        if (captureOut) close(outPipe[0]);
        if (captureErr) close(errPipe[0]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (captureOut) close(outPipe[1]);
    if (captureErr) close(errPipe[1]);
    if (child < 0) {
        if (captureOut) close(outPipe[0]);
        if (captureErr) close(errPipe[0]);
        return outcome;
    }
    outcome.started = true;
    const bool limited = seconds > 0.0;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(limited ? seconds : 0.0));
    const bool drained = drain(outPipe[0], errPipe[0], outcome.out, outcome.err, deadline, limited);
    if (!drained) {
        if (captureOut) close(outPipe[0]);
        if (captureErr) close(errPipe[0]);
    }
    int status = 0;
    outcome.finished = drained && waitFor(child, status, deadline, limited);
    if (!outcome.finished) {
        kill(child, SIGKILL);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    outcome.crashed = WIFSIGNALED(status);
    outcome.code = static_cast<unsigned>(outcome.crashed ? WTERMSIG(status) : WEXITSTATUS(status));
    return outcome;
}

std::string crashText(unsigned code) {
    const char* name = strsignal(static_cast<int>(code));
    return "signal " + std::to_string(code) + (name ? std::string(" (") + name + ")" : "");
}

std::string currentProgram() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

void endOnCrash() {}

void endProcessNow(int code) {
    _exit(code);
}

void writeOut(const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(1, text.data() + sent, text.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace qevhost::platform
