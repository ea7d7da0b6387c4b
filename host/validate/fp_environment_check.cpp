// fp-environment: a host thread may run with flush-to-zero and denormals-are-zero, another
// rounding mode or, on 32-bit x86, a lower x87 precision. The determinism workload must give the
// bits it gives in a fresh thread's environment, and every call must hand the caller's
// environment back as it found it.
#include <vector>

#include "check.h"
#include "module_run.h"
#include "qevhost/plugin_fp_environment.h"
#include "value_source.h"

namespace qevhost::validate {

namespace {

constexpr int kSettings = 12;
constexpr uint64_t kValueSeed = 0x5eed0001;  // the determinism check's

struct Trial {
    std::string name;
    FpEnvironment environment;
};

// A fresh thread's environment, whose outputs are the reference, then the environments a host
// thread may have, each one change from it.
std::vector<Trial> trials(const FpEnvironment& fresh) {
    std::vector<Trial> list = {{"a fresh thread's environment", fresh}};
    auto mxcsr = [&](const char* name, uint32_t bits) {
        FpEnvironment e = fresh;
        e.mxcsr = (e.mxcsr & ~kMxcsrRounding) | bits;
        list.push_back({name, e});
    };
    mxcsr("round down", kMxcsrRoundDown);
    mxcsr("round up", kMxcsrRoundUp);
    mxcsr("round toward zero", kMxcsrRoundZero);
    mxcsr("FTZ and DAZ", kMxcsrFtz | kMxcsrDaz);
    if (hasX87ControlWord()) {
        for (uint16_t precision : {kX87Precision24, kX87Precision53}) {
            FpEnvironment e = fresh;
            e.x87ControlWord =
                static_cast<uint16_t>((e.x87ControlWord & ~kX87Precision) | precision);
            list.push_back(
                {precision == kX87Precision24 ? "x87 precision 24 bits" : "x87 precision 53 bits",
                 e});
        }
    }
    return list;
}

// The settings of the determinism check, plus an output range of subnormal numbers where the
// module has one that holds them: flush-to-zero changes those.
std::vector<std::vector<float>> workloadSettings(const ModuleProfile& profile) {
    ValueSource source(kValueSeed);
    std::vector<std::vector<float>> settings = {profile.defaults()};
    while (settings.size() < kSettings) settings.push_back(source.inRangeSettings(profile));
    const InputParam* low = profile.input(profile.outputMin);
    const InputParam* high = profile.input(profile.outputMax);
    const float tiny[] = {1e-40f, 3e-40f};
    if (low && high && low->minValue <= tiny[0] && tiny[0] <= low->maxValue &&
        high->minValue <= tiny[1] && tiny[1] <= high->maxValue) {
        std::vector<float> values = profile.defaults();
        values[static_cast<std::size_t>(profile.outputMin)] = tiny[0];
        values[static_cast<std::size_t>(profile.outputMax)] = tiny[1];
        settings.push_back(values);
    }
    return settings;
}

// A fresh object through the whole workload, destroyed after: the outputs of each settings list.
std::vector<Outputs> runWorkload(const Plugin& plugin, const ModuleProfile& profile,
                                 const std::vector<std::vector<float>>& settings) {
    auto module = createModule(plugin);
    startModule(*module);
    std::vector<Outputs> outputs;
    for (const auto& values : settings) {
        applyAndCompute(*module, profile, values);
        outputs.push_back(outputsOf(*module, profile));
    }
    destroyModule(module);
    return outputs;
}

// Whether the thread keeps the environment when it is set: an emulator may not (valgrind
// drops FTZ and DAZ).
bool holds(const FpEnvironment& environment) {
    const FpEnvironment own = currentFpEnvironment();
    setFpEnvironment(environment);
    const bool held = currentFpEnvironment() == environment;
    setFpEnvironment(own);
    return held;
}

}  // namespace

CheckResult fpEnvironmentCheck(const CheckContext& context) {
    if (!hasFpEnvironment()) {
        return CheckResult::passInPart("no environments tried",
                                       "no environment to set on this processor");
    }
    FpEnvironment fresh = currentFpEnvironment();
    fresh.mxcsr &= ~kMxcsrFlags;
    auto plugin = Plugin::open(context.pluginPath);
    ModuleDescription description;
    {
        auto module = createModule(*plugin);
        description = module->describe();
        destroyModule(module);
    }
    const ModuleProfile profile = profileOf(description);
    const auto settings = workloadSettings(profile);
    std::vector<Outputs> reference;
    std::vector<std::string> notHeld;
    std::size_t tried = 0;
    for (const auto& trial : trials(fresh)) {
        if (!holds(trial.environment)) {
            notHeld.push_back(trial.name);
            continue;
        }
        ++tried;
        std::vector<Outputs> outputs;
        std::vector<FpEnvironmentChange> changes;
        {
            PluginFpEnvironment environment(trial.environment);
            outputs = runWorkload(*plugin, profile, settings);
            changes = environment.changes();
        }
        if (!changes.empty()) {
            std::string text;
            for (const auto& change : changes) {
                text += (text.empty() ? "" : "; ") + changeText(change);
            }
            return CheckResult::fail("under " + trial.name + ": " + text);
        }
        if (reference.empty()) {
            reference = std::move(outputs);
            continue;
        }
        for (std::size_t i = 0; i < settings.size(); ++i) {
            std::string where;
            if (!sameBits(outputs[i], reference[i], description, &where)) {
                return CheckResult::fail("under " + trial.name + ": settings " + std::to_string(i) +
                                         ": " + where);
            }
        }
    }
    return fpEnvironmentPass(tried, notHeld);
}

CheckResult fpEnvironmentPass(std::size_t tried, const std::vector<std::string>& notHeld) {
    const std::size_t all = tried + notHeld.size();
    const std::string of = all == 1 ? " environment" : " environments";
    if (notHeld.empty()) return CheckResult::pass(std::to_string(tried) + of + " tried");
    std::string names;
    for (const auto& name : notHeld) names += (names.empty() ? "" : ", ") + name;
    return CheckResult::passInPart("some environments not tried",
                                   std::to_string(tried) + " of " + std::to_string(all) + of +
                                       " tried; not held by this processor or emulator: " + names);
}

}  // namespace qevhost::validate
