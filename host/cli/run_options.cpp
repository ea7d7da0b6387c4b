#include "run_options.h"

#include "cli_errors.h"

namespace qevhost::cli {

const char* const kRunUsage =
    "usage: qevhost run PLUGIN [--set CAPTION=VALUE]... [--input FROM:TO:STEP|A,B,...] "
    "[--press|--no-press] [--csv] [--plot FILE.svg]";

RunOptions parseRunOptions(const Arguments& args) {
    RunOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Options with a value take it as the next argument or after '='.
        auto valueOf = [&](const std::string& name) -> std::optional<std::string> {
            if (arg == name) {
                if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
                return args[++i];
            }
            if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
            return std::nullopt;
        };
        if (auto v = valueOf("--set")) {
            options.sets.push_back(*v);
        } else if (auto v = valueOf("--input")) {
            options.inputs = *v;
        } else if (auto v = valueOf("--plot")) {
            options.plotFile = *v;
        } else if (arg == "--press") {
            options.press = true;
        } else if (arg == "--no-press") {
            options.noPress = true;
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg.rfind("-", 0) == 0 && arg.size() > 1) {
            throw UsageError("unknown option " + arg + "; " + kRunUsage);
        } else if (options.plugin.empty()) {
            options.plugin = arg;
        } else {
            throw UsageError("unexpected argument " + arg + "; " + kRunUsage);
        }
    }
    if (options.plugin.empty()) throw UsageError(kRunUsage);
    if (options.press && options.noPress) {
        throw UsageError("--press and --no-press exclude each other");
    }
    return options;
}

}  // namespace qevhost::cli
