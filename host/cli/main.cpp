// qevhost: loads a plug-in and shows what its module looks like and what it outputs.
#include <cstring>
#include <iostream>

#include "cli_errors.h"
#include "command_line.h"
#include "isolated_run.h"
#include "plugin_child.h"
#include "qevplatform/standard_streams.h"
#include "text_format.h"

namespace {

int runReported(int argc, char** argv) {
    using namespace qevhost::cli;
    try {
        return runCommandLine(argc, argv);
    } catch (const UsageError& e) {
        printMessage(e.what());
        return kExitUsage;
    } catch (const std::exception& e) {
        // LoadError, ModuleError, CliError and anything else: one line, no trace.
        printMessage(e.what());
        return kExitFailure;
    } catch (...) {
        printMessage("unexpected failure");
        return kExitFailure;
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qevhost::cli;
    // A check the validator runs in a process of its own (see isolated_run.h).
    if (argc > 1 && std::strcmp(argv[1], qevhost::validate::kIsolatedCheckArgument) == 0) {
        return qevhost::validate::isolatedCheckMain(argc - 2, argv + 2);
    }
    qevhost::platform::useBinaryStandardStreams();
#ifdef _WIN32
    if (argc > 1 && std::strcmp(argv[1], kPluginChildArgument) == 0) {
        return pluginChildMain(argc, argv, runReported);
    }
#endif
    // A plug-in that crashes takes only the child down (see plugin_child.h).
    if (loadsPlugin(argc, argv)) return runInChild(argc, argv, runReported);
    return runReported(argc, argv);
}
