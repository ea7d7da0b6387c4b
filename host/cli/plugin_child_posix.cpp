#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "cli_errors.h"
#include "plugin_child.h"
#include "qevhost/entry_point_note.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

// Signals that come from outside the process rather than from a fault in it.
bool endedFromOutside(int number) {
    return number == SIGPIPE || number == SIGINT || number == SIGTERM || number == SIGHUP ||
           number == SIGKILL;
}

}  // namespace

// The child is a copy of qevhost made by fork; the entry point it is in goes to a page both
// processes share.
int runInChild(int argc, char** argv, CommandLine command) {
    void* page = mmap(nullptr, kEntryPointNoteSize, PROT_READ | PROT_WRITE,
                      MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) return command(argc, argv);
    char* note = static_cast<char*>(page);
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        munmap(page, kEntryPointNoteSize);
        return command(argc, argv);
    }
    if (child == 0) {
        // Unbuffered: what the plug-in prints is out before it can crash.
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        publishEntryPointsTo(note);
        std::exit(command(argc, argv));
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const std::string entryPoint(note, strnlen(note, kEntryPointNoteSize));
    munmap(page, kEntryPointNoteSize);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    const int number = WTERMSIG(status);
    if (endedFromOutside(number)) {
        std::signal(number, SIG_DFL);
        std::raise(number);
    }
    printMessage(crashMessage(entryPoint, static_cast<unsigned>(number)));
    return kExitFailure;
}

}  // namespace qevhost::cli
