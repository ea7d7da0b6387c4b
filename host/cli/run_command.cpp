// qevhost run PLUGIN [--set CAPTION=VALUE]... [options]: drives a module as a host does and
// prints what it outputs; with --compare, once per value, side by side.
#include <iostream>
#include <memory>

#include "cli_errors.h"
#include "commands.h"
#include "fp_env_option.h"
#include "host_report.h"
#include "input_ramp.h"
#include "module_runs.h"
#include "plot_result.h"
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

// Starts a described module, applies the settings in order and runs it. `shownSettings` gets
// the settings that differ from the defaults, except those in `hidden` and the plot's x axis.
RunResult runModule(Module& module, const RunOptions& options, const std::vector<Setting>& settings,
                    std::vector<int32_t> hidden, std::string& shownSettings) {
    const ModuleDescription& d = module.description();
    const bool arrays = hasArrayOutputs(d);
    if (arrays && options.inputs) throw CliError("--input: this module has no per-block input");
    if (!arrays && (options.press || options.noPress)) {
        throw CliError("--press: this module has no array to calculate");
    }
    module.wire();
    module.init();
    for (const auto& s : settings) module.change(s.index, s.value);
    // The title names the settings a reader cannot see; Input is on the plot's x axis.
    if (!arrays) hidden.push_back(d.indexOf("Input"));
    shownSettings = describeNonDefaults(d, currentValues(module), hidden);
    if (!arrays) return runBlocks(module, blockInputs(options, d, settings, module));
    const Press press = options.press     ? Press::Always
                        : options.noPress ? Press::Never
                                          : Press::Auto;
    return runArrays(module, press, arraysWritten(module));
}

// One table from the runs of a comparison: the longest first column once, then every output of
// each run, named after the value (and the output, when there are several).
RunResult sideBySide(std::vector<RunResult> runs, const Comparison& comparison) {
    RunResult merged = runs[0];
    merged.columns.resize(1);
    for (const auto& run : runs) {
        if (run.columns[0].values.size() > merged.columns[0].values.size()) {
            merged.columns[0] = run.columns[0];
        }
    }
    for (std::size_t v = 0; v < runs.size(); ++v) {
        const std::string value = comparison.caption + " " + comparison.shown[v];
        auto& columns = runs[v].columns;
        for (std::size_t c = 1; c < columns.size(); ++c) {
            columns[c].name = columns.size() == 2 ? value : columns[c].name + " (" + value + ")";
            merged.columns.push_back(std::move(columns[c]));
        }
    }
    return merged;
}

}  // namespace

int runCommand(const RunOptions& options) {
    const auto fpEnvironment = fpEnvironmentFor(options.fpEnv);
    auto plugin = Plugin::open(options.plugin);
    std::vector<std::unique_ptr<Module>> modules;
    modules.push_back(std::make_unique<Module>(*plugin));
    printReportsAsTheyArrive(*modules[0]);
    const ModuleDescription& d = modules[0]->describe();
    const std::vector<Setting> settings = resolveSettings(d, options.sets);
    std::optional<Comparison> comparison;
    if (options.compare) {
        comparison = resolveComparison(d, *options.compare);
        if (comparison->index == d.indexOf("Input") && !hasArrayOutputs(d)) {
            throw CliError("--compare: \"Input\" is on the x axis; use --input");
        }
    }

    std::vector<RunResult> runs;
    std::string shownSettings;
    const std::size_t count = comparison ? comparison->settings.size() : 1;
    for (std::size_t v = 0; v < count; ++v) {
        if (v > 0) {
            modules.push_back(std::make_unique<Module>(*plugin));
            printReportsAsTheyArrive(*modules[v]);
            modules[v]->describe();
        }
        std::vector<Setting> runSettings = settings;
        std::vector<int32_t> hidden;
        if (comparison) {
            runSettings.push_back(comparison->settings[v]);
            hidden.push_back(comparison->index);
        }
        runs.push_back(runModule(*modules[v], options, runSettings, hidden, shownSettings));
    }

    RunResult result = comparison ? sideBySide(std::move(runs), *comparison) : std::move(runs[0]);
    std::string title = shownSettings.empty() ? "defaults" : shownSettings;
    if (comparison) {
        std::string values;
        for (const auto& shown : comparison->shown) values += (values.empty() ? "" : ", ") + shown;
        title = comparison->caption + " " + values +
                (shownSettings.empty() ? "" : "; " + shownSettings);
    }
    result.title = d.description.value_or(d.name.value_or(plugin->path())) + ": " + title;
    // After a refused call the outlets hold what the host kept, not what the title describes;
    // after any other fault of the module its values are not to be trusted either.
    bool hostErrors = false;
    for (const auto& module : modules) hostErrors = printHostErrors(*module) || hostErrors;
    if (hostErrors) {
        printMessage(
            "no values printed: after a host error the outputs need not be what the "
            "settings give");
        return kExitFailure;
    }
    std::cout << formatResult(result, options.csv) << std::flush;
    if (options.plotFile) {
        writePlot(result, *options.plotFile);
        printMessage("plot written to " + *options.plotFile);
    }
    // A call that handed back a changed floating-point environment is named after the table.
    return printFpEnvironmentChanges(fpEnvironment.get()) ? kExitFailure : kExitOk;
}

}  // namespace qevhost::cli
