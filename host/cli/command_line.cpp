#include "command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli_errors.h"
#include "commands.h"
#include "fp_env_option.h"
#include "input_ramp.h"
#include "qev_version.h"

namespace qevhost::cli {

namespace {

constexpr const char* kRunUsage =
    "usage: qevhost run PLUGIN [--set CAPTION=VALUE]... [--input FROM:TO:STEP|A,B,...] "
    "[--compare CAPTION=V1,V2,...] [--press|--no-press] [--csv] [--plot FILE.svg] [--fp-env LIST]";
constexpr const char* kSeedsUsage =
    "usage: qevhost seeds PLUGIN [--set CAPTION=VALUE]... [--input FROM:TO:STEP|A,B,...] "
    "--seeds FROM:TO [--like CURVE.csv] [--want LIST]... [--top N] [--csv]";
constexpr const char* kDescribeUsage = "usage: qevhost describe PLUGIN";
constexpr const char* kValidateUsage =
    "usage: qevhost validate [--check NAME]... [--skip NAME]... [--call-limit SECONDS] [--list] "
    "PLUGIN";

CLI::App* addDescribe(CLI::App& app, DescribeOptions& o) {
    auto* sub = app.add_subcommand("describe", "module info and parameter table");
    sub->add_option("PLUGIN", o.plugin, "the plug-in to load")->type_name("");
    return sub;
}

CLI::App* addRun(CLI::App& app, RunOptions& o) {
    auto* sub = app.add_subcommand("run", "run the module and print its outputs");
    sub->add_option("PLUGIN", o.plugin, "the plug-in to load")->type_name("");
    sub->add_option("--set", o.sets,
                    "set an input (caption in any case, or its index) and report the change to "
                    "the module; repeatable, applied in order")
        ->type_name("CAPTION=VALUE")
        ->allow_extra_args(false);
    sub->add_option("--input", o.inputs,
                    std::string("values of \"Input\", one block each, or a list A,B,... "
                                "(nan and inf too); default ") +
                        kDefaultInputs)
        ->type_name("FROM:TO:STEP");
    sub->add_option("--compare", o.compare,
                    "run once per value, every other setting as given; one column and one line "
                    "per value")
        ->type_name("CAPTION=V1,V2,...");
    sub->add_flag("--press", o.press,
                  "press \"Calculate Array\" (default: when the mode needs it or nothing has "
                  "computed the arrays yet)");
    sub->add_flag("--no-press", o.noPress, "do not press \"Calculate Array\"");
    sub->add_flag("--csv", o.csv, "CSV instead of aligned columns");
    sub->add_option("--plot", o.plotFile, "also draw the outputs into an SVG picture")
        ->type_name("FILE.svg");
    sub->add_option("--fp-env", o.fpEnv, kFpEnvHelp)->type_name("LIST");
    return sub;
}

CLI::App* addSeeds(CLI::App& app, SeedsOptions& o) {
    auto* sub = app.add_subcommand("seeds",
                                   "rank seeds by how close their curves come to a "
                                   "sketch or to properties");
    sub->add_option("PLUGIN", o.plugin, "the plug-in to load")->type_name("");
    sub->add_option("--set", o.sets, "set an input, as for run; repeatable, applied in order")
        ->type_name("CAPTION=VALUE")
        ->allow_extra_args(false);
    sub->add_option("--input", o.inputs,
                    std::string("values of \"Input\", as for run; default ") + kDefaultInputs)
        ->type_name("FROM:TO:STEP");
    sub->add_option("--seeds", o.seeds,
                    "the seeds to search: the whole numbers from FROM to TO that a float holds")
        ->type_name("FROM:TO");
    sub->add_option("--like", o.like,
                    "a sketch of the curve: rows x,y (input or element index, output value); "
                    "a header row is skipped")
        ->type_name("CURVE.csv");
    sub->add_option("--want", o.wants,
                    "properties: starts=VALUE, ends=VALUE, loops, range, seldom-ends, calm or "
                    "lively, and for Qev RandomArray rising or falling; comma-separated, "
                    "repeatable")
        ->type_name("LIST")
        ->allow_extra_args(false);
    sub->add_option("--top", o.top, "how many seeds to list (default 12)")->type_name("N");
    sub->add_flag("--csv", o.csv, "CSV instead of aligned columns");
    return sub;
}

CLI::App* addValidate(CLI::App& app, ValidateCommandOptions& o) {
    auto* sub = app.add_subcommand("validate", "run the validator's checks on a plug-in");
    sub->add_option("PLUGIN", o.run.pluginPath, "the plug-in to load")->type_name("");
    sub->add_option("--check", o.run.checks, "run only this check; repeatable")
        ->type_name("NAME")
        ->allow_extra_args(false);
    sub->add_option("--skip", o.run.skipped, "leave this check out; repeatable")
        ->type_name("NAME")
        ->allow_extra_args(false);
    sub->add_option("--call-limit", o.callLimit, "time allowed for one call into the module")
        ->type_name("SECONDS");
    sub->add_flag("--list", o.list, "name the checks and stop");
    return sub;
}

// "qevhost run --help": where to look after a mistake on the command line of `app`.
std::string helpHint(const CLI::App& app) {
    return "; try qevhost " + (app.get_parent() ? app.get_name() + " " : std::string()) + "--help";
}

// Arguments that no option took: the first is named, unknown option or stray argument.
void rejectLeftovers(const CLI::App& app) {
    const auto left = app.remaining();
    if (left.empty()) return;
    const std::string& arg = left.front();
    if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg + helpHint(app));
    if (!app.get_parent()) throw UsageError("unknown command \"" + arg + "\"" + helpHint(app));
    throw UsageError("unexpected argument " + arg + helpHint(app));
}

}  // namespace

int runCommandLine(int argc, char** argv) {
    if (argc < 2) throw UsageError("no command; try qevhost --help");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args[0] == "help") args[0] = "--help";
    std::reverse(args.begin(), args.end());  // CLI11 takes them last first

    CLI::App app(
        "Loads a Norvane plug-in as the host does and shows what its module is and "
        "what it outputs.",
        "qevhost");
    app.set_version_flag("--version", "qevhost " QEV_VERSION);
    app.footer("Run qevhost COMMAND --help for the options of a command.");
    app.require_subcommand(0, 1);
    app.allow_extras();
    // Paths start with a slash: never read them as Windows-style /options.
    app.allow_windows_style_options(false);
    DescribeOptions describe;
    RunOptions run;
    ValidateCommandOptions validate;
    SeedsOptions seeds;
    CLI::App* subs[] = {addDescribe(app, describe), addRun(app, run), addValidate(app, validate),
                        addSeeds(app, seeds)};
    for (auto* sub : subs) sub->allow_extras()->allow_windows_style_options(false);
    try {
        app.parse(args);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help or --version, printed on stdout
    } catch (const CLI::ArgumentMismatch& e) {
        // "--set: 1 required CAPTION=VALUE missing": the option is named before the colon.
        const std::string text = e.what();
        const std::string option = text.substr(0, text.find(':'));
        const CLI::App* sub = app.get_subcommands().empty() ? &app : app.get_subcommands()[0];
        throw UsageError(option + " needs a value" + helpHint(*sub));
    } catch (const CLI::ParseError& e) {
        throw UsageError(std::string(e.what()) + "; try qevhost --help");
    }
    rejectLeftovers(app);
    if (app.get_subcommands().empty()) throw UsageError("no command; try qevhost --help");
    const CLI::App* sub = app.get_subcommands()[0];
    rejectLeftovers(*sub);
    if (sub == subs[0]) {
        if (describe.plugin.empty()) throw UsageError(kDescribeUsage);
        return describeCommand(describe);
    }
    if (sub == subs[1]) {
        if (run.plugin.empty()) throw UsageError(kRunUsage);
        if (run.press && run.noPress) {
            throw UsageError("--press and --no-press exclude each other");
        }
        return runCommand(run);
    }
    if (sub == subs[3]) {
        if (seeds.plugin.empty() || seeds.seeds.empty()) throw UsageError(kSeedsUsage);
        return seedsCommand(seeds);
    }
    if (validate.run.pluginPath.empty() && !validate.list) throw UsageError(kValidateUsage);
    return validateCommand(validate);
}

}  // namespace qevhost::cli
