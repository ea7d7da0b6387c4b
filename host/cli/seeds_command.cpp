// qevhost seeds PLUGIN [--set CAPTION=VALUE]... --seeds FROM:TO [--like CURVE.csv]
// [--want LIST]...: ranks the seeds of a range by how close their curves come to a sketch and to
// the properties asked for, with the search the explorer page runs. The plug-in, loaded as for
// `run`, describes the settings; the listed seeds' curves are then run through it and must equal
// the search's, bit for bit.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli_errors.h"
#include "commands.h"
#include "host_report.h"
#include "input_ramp.h"
#include "module_runs.h"
#include "number_text.h"
#include "seed_search.h"
#include "settings.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

seeds::SeedRange seedRange(const std::string& text) {
    const auto colon = text.find(':');
    const auto from = parseNumber(text.substr(0, colon));
    const auto to = colon == std::string::npos ? std::nullopt : parseNumber(text.substr(colon + 1));
    if (!from || !to) throw CliError("--seeds takes FROM:TO, such as 0:9999; got " + text);
    std::string error;
    auto range = seeds::SeedRange::make(*from, *to, error);
    if (!range) throw CliError("--seeds " + text + ": " + error);
    return *range;
}

seeds::Query query(const SeedsOptions& options) {
    seeds::Query q;
    std::string error;
    if (options.like) {
        std::ifstream file(*options.like, std::ios::binary);
        if (!file) throw CliError("--like " + *options.like + ": cannot read the file");
        std::ostringstream text;
        text << file.rdbuf();
        if (!seeds::readSketch(q, text.str(), error)) {
            throw CliError("--like " + *options.like + ": " + error);
        }
    }
    for (const auto& want : options.wants) {
        if (!seeds::addWants(q, want, error)) throw CliError("--want " + error);
    }
    return q;
}

// The module's settings after --set, as the search's curves take them.
seeds::CurveSettings curveSettings(const Module& module, const SeedsOptions& options) {
    const ModuleDescription& d = module.description();
    const std::string name = d.description.value_or("");
    seeds::CurveSettings s;
    if (name == "Qev RandomArray") {
        s.module = seeds::SeedModule::Array;
        if (options.inputs) throw CliError("--input: this module has no per-block input");
    } else if (name == "Qev Random") {
        s.inputs = parseInputs(options.inputs.value_or(kDefaultInputs));
    } else {
        throw CliError("the seed search knows Qev Random and Qev RandomArray, not \"" + name +
                       "\"");
    }
    for (const auto& p : d.params) {
        if (p.input() && p.caption) seeds::setByCaption(s, *p.caption, module.value(p.index));
    }
    return s;
}

// The seed's curve as the plug-in gives it: the module told of the new seed, then run as `run`
// runs it.
std::vector<float> pluginCurve(Module& module, int32_t seedIndex, float seed,
                               const seeds::CurveSettings& settings) {
    module.change(seedIndex, seed);
    const bool arrays = settings.module == seeds::SeedModule::Array;
    const RunResult run =
        arrays ? runArrays(module, Press::Always, true) : runBlocks(module, settings.inputs);
    std::vector<float> curve;
    for (const auto& v : run.columns[1].values) curve.push_back(v.value_or(NAN));
    return curve;
}

}  // namespace

int seedsCommand(const SeedsOptions& options) {
    if (options.top < 1) throw CliError("--top takes a count of at least 1");
    const seeds::SeedRange range = seedRange(options.seeds);
    const seeds::Query q = query(options);
    if (q.sketch.empty() && seeds::wantsText(q).empty()) {
        throw UsageError("say what to look for: --like CURVE.csv, --want LIST, or both");
    }
    auto plugin = Plugin::open(options.plugin);
    Module module(*plugin);
    printReportsAsTheyArrive(module);
    const ModuleDescription& d = module.describe();
    const int32_t seedIndex = d.indexOf("Random Seed");
    const std::vector<Setting> settings = resolveSettings(d, options.sets);
    for (const auto& s : settings) {
        if (s.index == seedIndex) throw CliError("--set \"Random Seed\": the search sets the seed");
    }
    module.wire();
    module.init();
    for (const auto& s : settings) module.change(s.index, s.value);
    const std::string shown =
        describeNonDefaults(d,
                            [&] {
                                std::vector<float> values;
                                for (int32_t i = 0; i < module.paramCount(); ++i)
                                    values.push_back(module.value(i));
                                return values;
                            }(),
                            {seedIndex, d.indexOf("Input")});
    const seeds::CurveSettings curves = curveSettings(module, options);
    if (const std::string error = seeds::searchError(q, curves); !error.empty()) {
        throw CliError(error);
    }

    seeds::SeedSearch search(curves, q, range, options.top);
    search.run(0, range.count());

    // The listed curves, through the plug-in itself: the search's own must be the same bits.
    seeds::CurveMaker maker(curves);
    for (const auto& ranked : search.best()) {
        const std::vector<float> ours = maker.curve(ranked.seed);
        const std::vector<float> its = pluginCurve(module, seedIndex, ranked.seed, curves);
        const bool same = ours.size() == its.size() &&
                          std::equal(ours.begin(), ours.end(), its.begin(), [](float a, float b) {
                              return std::memcmp(&a, &b, sizeof a) == 0;
                          });
        if (!same) {
            throw CliError("the plug-in's curve for seed " + seeds::seedText(ranked.seed) +
                           " differs from the search's: is it another version of the module?");
        }
    }
    if (printHostErrors(module)) {
        printMessage(
            "no ranking printed: the plug-in's outputs need not be what the settings give");
        return kExitFailure;
    }

    if (options.csv) {
        std::cout << seeds::rankingCsv(search.best()) << std::flush;
        return kExitOk;
    }
    const std::string wants = seeds::wantsText(q);
    std::string looking = q.sketch.empty() ? "" : "like " + *options.like;
    if (!wants.empty()) looking += (looking.empty() ? "" : ", ") + wants;
    std::cout << "# " << d.description.value_or("") << ": " << (shown.empty() ? "defaults" : shown)
              << "; " << looking << "; best " << search.best().size() << " of " << range.count()
              << " seeds from " << seeds::seedText(range.first()) << " to "
              << seeds::seedText(range.last()) << "\n";
    std::vector<std::vector<std::string>> rows = {{"Seed", "Score"}};
    for (const auto& r : search.best()) {
        rows.push_back({seeds::seedText(r.seed), seeds::scoreText(r.score)});
    }
    std::cout << alignColumns(rows) << std::flush;
    return kExitOk;
}

}  // namespace qevhost::cli
