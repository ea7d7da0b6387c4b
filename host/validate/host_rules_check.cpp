// host-rules: whatever a wire brings to any inlet, in any mode, every call the module makes into
// the host keeps the host's rules (qevhost/array_rules.h and the records' own bytes); a call the
// host refuses names the rule, the inlet and the value.
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "module_run.h"
#include "value_source.h"
#include "watchdog.h"

namespace qevhost::validate {

namespace {

// Counts a conversion without a floor would hand on as negative lengths.
constexpr float kNegativeCounts[] = {-0.99f, -3.0f, -5504.0f, -2147483648.0f, -1e20f};

// The settings each inlet's values are tried against: the defaults, then each list inlet (a
// mode) at each of its items and at values no list offers.
std::vector<std::pair<std::string, std::vector<float>>> backgrounds(
    const ModuleDescription& description, const ModuleProfile& profile) {
    std::vector<std::pair<std::string, std::vector<float>>> found = {{"", profile.defaults()}};
    for (const auto& in : profile.inputs) {
        if (in.kind != InputKind::List) continue;
        std::vector<float> values;
        for (int32_t item = 0; item < in.itemCount; ++item)
            values.push_back(static_cast<float>(item));
        values.insert(values.end(), {-1.0f, 1e20f, std::numeric_limits<float>::quiet_NaN()});
        for (float v : values) {
            std::vector<float> settings = profile.defaults();
            settings[static_cast<std::size_t>(in.index)] = v;
            found.push_back({", " + captionOf(description, in.index) + " = " + valueText(v),
                             std::move(settings)});
        }
    }
    return found;
}

}  // namespace

CheckResult hostRulesCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    auto module = createModule(*plugin);
    startModule(*module);
    const ModuleDescription description = module->description();
    const ModuleProfile profile = profileOf(description);
    if (!module->hostErrors().empty()) {
        return CheckResult::fail(module->hostErrors().front() + " (while starting)");
    }

    int steps = 0;
    for (const auto& [label, settings] : backgrounds(description, profile)) {
        for (const auto& in : profile.inputs) {
            std::vector<float> values = wildValues(in);
            values.insert(values.end(), std::begin(kNegativeCounts), std::end(kNegativeCounts));
            for (float v : values) {
                std::vector<float> step = settings;
                step[static_cast<std::size_t>(in.index)] = v;
                const std::string what =
                    captionOf(description, in.index) + " = " + valueText(v) + label;
                setCallContext(&what);
                const std::size_t errors = module->hostErrors().size();
                applyAndCompute(*module, profile, step);
                ++steps;
                if (module->hostErrors().size() > errors) {
                    return CheckResult::fail(module->hostErrors()[errors] + " (" + what + ")");
                }
            }
        }
    }
    setCallContext(nullptr);
    destroyModule(module);
    return CheckResult::pass(std::to_string(steps) + " steps");
}

}  // namespace qevhost::validate
