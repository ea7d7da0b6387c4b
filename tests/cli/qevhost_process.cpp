#include "qevhost_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string readAndRemove(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    unlink(path.c_str());
    return text;
}

}  // namespace

ProcessResult runQevhost(const std::vector<std::string>& args) {
    std::vector<std::string> command;
    const std::string emulator = QEVHOST_EMULATOR;
    if (!emulator.empty()) command.push_back(emulator);
    command.push_back(QEVHOST_PROGRAM);
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);

    static int counter = 0;
    const std::string stem =
        "/tmp/qevhost-cli-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const std::string outPath = stem + ".out", errPath = stem + ".err";

    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ProcessResult result;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    result.out = readAndRemove(outPath);
    result.err = readAndRemove(errPath);
    return result;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}
