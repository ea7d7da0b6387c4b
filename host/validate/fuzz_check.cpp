// fuzz: whatever values and messages arrive, the module neither crashes, reports, writes outside
// an array nor hangs; with finite values, in range or not, its outputs are finite, and with values
// inside their ranges they are in range too.
#include <cmath>

#include "check.h"
#include "module_run.h"
#include "value_source.h"
#include "watchdog.h"
#include "workload.h"

namespace qevhost::validate {

namespace {

constexpr uint64_t kWorkloadSeed = 0xf0221;
constexpr int kInRangeSteps = 160;
constexpr int kStraySteps = 80;

// Why the outputs after a step with finite values are wrong, or an empty text. `inRange` adds
// the output range to the rule.
std::string outputFault(const Module& module, const ModuleProfile& profile,
                        const ModuleDescription& description, const std::vector<float>& values,
                        bool inRange) {
    const bool ranged = inRange && profile.outputMin >= 0 && profile.outputMax >= 0;
    double lo = 0.0, hi = 0.0;
    if (ranged) {
        lo = values[static_cast<std::size_t>(profile.outputMin)];
        hi = values[static_cast<std::size_t>(profile.outputMax)];
        if (lo > hi) std::swap(lo, hi);
    }
    const Outputs outputs = outputsOf(module, profile);
    for (std::size_t o = 0; o < outputs.values.size(); ++o) {
        // Rounded outputs may go to the whole numbers around the range.
        const bool whole = profile.outputs[o].wholeNumbers;
        const double low = whole ? std::floor(lo) : lo;
        const double high = whole ? std::ceil(hi) : hi;
        const auto& elements = outputs.values[o];
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const double v = elements[i];
            const bool finite = std::isfinite(v);
            if (finite && (!ranged || (v >= low && v <= high))) continue;
            return "\"" + captionOf(description, outputs.params[o]) + "\"" +
                   (elements.size() > 1 ? "[" + std::to_string(i) + "]" : "") + " is " +
                   valueText(elements[i]) +
                   (finite ? " outside " + valueText(static_cast<float>(low)) + " to " +
                                 valueText(static_cast<float>(high))
                           : "");
        }
    }
    return {};
}

}  // namespace

CheckResult fuzzCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    auto module = createModule(*plugin);
    startModule(*module);
    const ModuleDescription description = module->description();
    const ModuleProfile profile = profileOf(description);
    const auto steps =
        makeWorkload(description, profile, kWorkloadSeed, kInRangeSteps, kStraySteps);

    for (const auto& step : steps) {
        setCallContext(&step.label);
        const std::size_t reports = module->reports().size();
        const std::size_t errors = module->hostErrors().size();
        sendStepMessages(*module, step);
        runBlock(*module);
        if (module->reports().size() > reports) {
            return CheckResult::fail("reported \"" + module->reports()[reports] + "\" (" +
                                     step.label + ")");
        }
        const auto faults = moduleFaults(*module, errors);
        if (!faults.empty()) return CheckResult::fail(faults.front() + " (" + step.label + ")");
        if (step.inRange || allFinite(step.values)) {
            const std::string fault =
                outputFault(*module, profile, description, step.values, step.inRange);
            if (!fault.empty()) {
                return CheckResult::fail(fault + " (" + step.label + ": " +
                                         settingsText(description, profile, step.values) + ")");
            }
        }
    }
    setCallContext(nullptr);
    destroyModule(module);
    return CheckResult::pass(std::to_string(steps.size()) + " steps");
}

}  // namespace qevhost::validate
