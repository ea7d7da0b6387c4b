// qevhost: loads a plug-in and shows what its module looks like and what it outputs.
#include <iostream>

#include "cli_errors.h"
#include "command_line.h"
#include "text_format.h"

int main(int argc, char** argv) {
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
