#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "cli_errors.h"
#include "plugin_child.h"
#include "qevhost/entry_point_note.h"
#include "qevplatform/child_process.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

// What a process ended by Ctrl+C exits with: not a crash.
constexpr unsigned kControlCExit = 0xC000013Au;

}  // namespace

// Windows has no fork: the child is qevhost started anew with the hidden argument, and the entry
// point it is in goes to a file mapping whose handle it inherits.
int runInChild(int argc, char** argv, CommandLine command) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &inherit, PAGE_READWRITE, 0,
                                        kEntryPointNoteSize, nullptr);
    if (mapping == nullptr) return command(argc, argv);
    const auto* note =
        static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kEntryPointNoteSize));
    if (note == nullptr) {
        CloseHandle(mapping);
        return command(argc, argv);
    }
    std::vector<std::string> words = {platform::currentProgram(), kPluginChildArgument,
                                      std::to_string(reinterpret_cast<uintptr_t>(mapping))};
    words.insert(words.end(), argv + 1, argv + argc);
    std::cout.flush();
    std::fflush(nullptr);
    const platform::ChildOutcome outcome = platform::runChild(words, 0.0, false, false);
    const std::string entryPoint(note, strnlen(note, kEntryPointNoteSize));
    UnmapViewOfFile(note);
    CloseHandle(mapping);
    if (!outcome.started) return command(argc, argv);
    if (!outcome.crashed || outcome.code == kControlCExit) return static_cast<int>(outcome.code);
    printMessage(crashMessage(entryPoint, outcome.code));
    return kExitFailure;
}

int pluginChildMain(int argc, char** argv, CommandLine command) {
    // A crash ends this process with the exception code at once, for the parent to report.
    platform::endOnCrash();
    if (argc < 3) return kExitUsage;
    auto mapping =
        reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 10)));
    auto* note =
        static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kEntryPointNoteSize));
    // Unbuffered: what the plug-in prints is out before it can crash.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    publishEntryPointsTo(note);
    std::vector<char*> args = {argv[0]};
    args.insert(args.end(), argv + 3, argv + argc);
    args.push_back(nullptr);
    return command(argc - 2, args.data());
}

}  // namespace qevhost::cli
