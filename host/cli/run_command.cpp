// qevhost run PLUGIN [--set CAPTION=VALUE]... [options]: drives a module as a host does and
// prints what it outputs.
#include <iostream>

#include "cli_errors.h"
#include "commands.h"
#include "host_report.h"
#include "input_ramp.h"
#include "module_runs.h"
#include "plot_result.h"
#include "run_options.h"
#include "settings.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

std::vector<float> currentValues(const Module& module) {
    std::vector<float> values;
    for (int32_t i = 0; i < module.paramCount(); ++i) values.push_back(module.value(i));
    return values;
}

bool arraysWritten(const Module& module) {
    for (const auto& call : module.calls()) {
        if (call.service == Service::SetEventArrayValue) return true;
    }
    return false;
}

// Which inputs to run: --input, else a single block at an Input given by --set, else a ramp.
std::vector<float> blockInputs(const RunOptions& options, const ModuleDescription& d,
                               const std::vector<Setting>& settings, const Module& module) {
    if (options.inputs) return parseInputs(*options.inputs);
    const int32_t input = d.indexOf("Input");
    if (input < 0) return {};
    for (const auto& s : settings) {
        if (s.index == input) return {module.value(input)};
    }
    return parseInputs(kDefaultInputs);
}

}  // namespace

int runCommand(const Arguments& args) {
    const RunOptions options = parseRunOptions(args);
    auto plugin = Plugin::open(options.plugin);
    Module module(*plugin);
    printReportsAsTheyArrive(module);
    const ModuleDescription& d = module.describe();
    const std::vector<Setting> settings = resolveSettings(d, options.sets);
    const bool arrays = hasArrayOutputs(d);
    if (arrays && options.inputs) throw CliError("--input: this module has no per-block input");
    if (!arrays && (options.press || options.noPress)) {
        throw CliError("--press: this module has no array to calculate");
    }
    module.wire();
    module.init();
    for (const auto& s : settings) module.change(s.index, s.value);

    RunResult result;
    // The title names the settings a reader cannot see; Input is on the plot's x axis.
    const std::string settingsText =
        describeNonDefaults(d, currentValues(module), arrays ? -1 : d.indexOf("Input"));
    if (arrays) {
        const Press press = options.press     ? Press::Always
                            : options.noPress ? Press::Never
                                              : Press::Auto;
        result = runArrays(module, press, arraysWritten(module));
    } else {
        result = runBlocks(module, blockInputs(options, d, settings, module));
    }
    result.title = d.description.value_or(d.name.value_or(plugin->path())) + ": " +
                   (settingsText.empty() ? "defaults" : settingsText);
    std::cout << formatResult(result, options.csv) << std::flush;
    if (options.plotFile) {
        writePlot(result, *options.plotFile);
        printMessage("plot written to " + *options.plotFile);
    }
    return printHostErrors(module) ? kExitFailure : kExitOk;
}

}  // namespace qevhost::cli
