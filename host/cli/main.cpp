// qevhost: loads a plug-in and shows what its module looks like and what it outputs.
#include <cstring>
#include <iostream>

#include "cli_errors.h"
#include "commands.h"
#include "input_ramp.h"
#include "isolated_run.h"
#include "qevhost/errors.h"
#include "qevplatform/standard_streams.h"
#include "run_options.h"
#include "text_format.h"

namespace {

using qevhost::cli::Arguments;

struct Command {
    const char* name;
    int (*run)(const Arguments&);
    const char* summary;
};

// One entry per subcommand; each lives in its own <name>_command.cpp.
const Command kCommands[] = {
    {"describe", qevhost::cli::describeCommand,
     "describe PLUGIN             module info and parameter table"},
    {"run", qevhost::cli::runCommand,
     "run PLUGIN [options]        run the module and print its outputs"},
    {"validate", qevhost::cli::validateCommand,
     "validate PLUGIN [options]   run the validator's checks (--list names them)"},
};

void printUsage(std::ostream& out) {
    out << "usage: qevhost COMMAND ...\n\ncommands:\n";
    for (const auto& command : kCommands) out << "  " << command.summary << "\n";
    out << "\n"
        << qevhost::cli::kRunUsage << "\n"
        << "  --set CAPTION=VALUE  set an input (caption in any case, or its index) and report\n"
           "                       the change to the module; repeatable, applied in order\n"
           "  --input FROM:TO:STEP values of \"Input\", one block each (or a list A,B,...);\n"
           "                       default "
        << qevhost::cli::kDefaultInputs
        << "\n"
           "  --press / --no-press press \"Calculate Array\" or not (default: when the mode\n"
           "                       needs it or nothing has computed the arrays yet)\n"
           "  --csv                CSV instead of aligned columns\n"
           "  --plot FILE.svg      also draw the outputs into an SVG picture\n";
}

int dispatch(int argc, char** argv) {
    using namespace qevhost::cli;
    if (argc < 2) throw UsageError("no command; try qevhost --help");
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return kExitOk;
    }
    const Arguments args(argv + 2, argv + argc);
    for (const auto& command : kCommands) {
        if (name == command.name) return command.run(args);
    }
    throw UsageError("unknown command \"" + name + "\"; try qevhost --help");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qevhost::cli;
    // A check the validator runs in a process of its own (see isolated_run.h).
    if (argc > 1 && std::strcmp(argv[1], qevhost::validate::kIsolatedCheckArgument) == 0) {
        return qevhost::validate::isolatedCheckMain(argc - 2, argv + 2);
    }
    qevhost::platform::useBinaryStandardStreams();
    try {
        return dispatch(argc, argv);
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
