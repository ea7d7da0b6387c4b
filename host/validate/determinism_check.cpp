// determinism: the same settings give the same bits, whatever object computes them and whatever
// it computed before.
#include <cstdio>

#include "check.h"
#include "module_run.h"
#include "value_source.h"

namespace qevhost::validate {

namespace {

constexpr int kSettings = 12;
constexpr uint64_t kValueSeed = 0x5eed0001;

// Runs every settings list through the object in turn; the outputs after each.
std::vector<Outputs> runAll(Module& module, const ModuleProfile& profile,
                            const std::vector<std::vector<float>>& settings) {
    std::vector<Outputs> outputs;
    for (const auto& values : settings) {
        applyAndCompute(module, profile, values);
        outputs.push_back(outputsOf(module, profile));
    }
    return outputs;
}

std::string firstDifference(const std::vector<Outputs>& a, const std::vector<Outputs>& b,
                            const ModuleDescription& description) {
    std::string where;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameBits(a[i], b[i], description, &where)) {
            return "settings " + std::to_string(i) + ": " + where;
        }
    }
    return {};
}

}  // namespace

CheckResult determinismCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    auto first = createModule(*plugin);
    auto second = createModule(*plugin);
    startModule(*first);
    startModule(*second);
    const ModuleDescription description = first->description();
    const ModuleProfile profile = profileOf(description);

    ValueSource source(kValueSeed);
    std::vector<std::vector<float>> settings = {profile.defaults()};
    while (settings.size() < kSettings) settings.push_back(source.inRangeSettings(profile));

    const auto once = runAll(*first, profile, settings);
    std::string difference = firstDifference(once, runAll(*second, profile, settings), description);
    if (!difference.empty()) return CheckResult::fail("two objects differ at " + difference);
    difference = firstDifference(once, runAll(*first, profile, settings), description);
    if (!difference.empty()) return CheckResult::fail("a rerun differs at " + difference);

    // Away to another seed and back: the first seed's outputs return bit for bit.
    if (profile.seed >= 0) {
        const auto seed = static_cast<std::size_t>(profile.seed);
        for (std::size_t i = 0; i < settings.size(); ++i) {
            std::vector<float> values = settings[i];
            const float original = values[seed];
            values[seed] = original == 1.0f ? 2.0f : 1.0f;
            applyAndCompute(*first, profile, values);
            values[seed] = original;
            applyAndCompute(*first, profile, values);
            std::string where;
            if (!sameBits(outputsOf(*first, profile), once[i], description, &where)) {
                return CheckResult::fail("re-seeding back to " + valueText(original) + " changes " +
                                         where);
            }
        }
    }
    destroyModule(first);
    destroyModule(second);

    // The fingerprint lets two runs, and the two builds of a module, be compared.
    char note[40];
    std::snprintf(note, sizeof note, "fingerprint %016llx",
                  static_cast<unsigned long long>(fingerprint(once)));
    return CheckResult::pass(note);
}

}  // namespace qevhost::validate
