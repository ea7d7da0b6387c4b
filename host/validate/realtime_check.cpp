// real-time: Process and CallBack run on the host's audio thread: no heap allocation, no lock.
#include "call_counts.h"
#include "check.h"
#include "module_run.h"
#include "watchdog.h"
#include "workload.h"

namespace qevhost::validate {

namespace {

constexpr uint64_t kWorkloadSeed = 0x7ea1;
constexpr int kInRangeSteps = 40;
constexpr int kStraySteps = 40;

// What one export did wrong over the whole workload, and the step where it first happened.
struct ExportTally {
    CallCounts counts;
    std::string firstStep;

    void add(const CallCounts& during, const std::string& step) {
        if (any(during) && firstStep.empty()) firstStep = step;
        counts.allocations += during.allocations;
        counts.frees += during.frees;
        counts.locks += during.locks;
    }

    std::string text(const char* name) const {
        return std::string(name) + ": " + std::to_string(counts.allocations) + " allocations, " +
               std::to_string(counts.frees) + " frees, " + std::to_string(counts.locks) +
               " locks (first at " + firstStep + ")";
    }
};

// The counters must see an allocation and a lock made while module code runs, or a pass would
// mean nothing.
std::string selfTest(Module& module) {
    const CallCounts before = moduleCallCounts();
    {
        ModuleCallScope scope(module);
        makeCountedCalls();
    }
    const CallCounts seen = moduleCallCounts() - before;
    if (!allocationsCounted() || seen.allocations != 1 || seen.frees != 1) {
        return "this host build does not see allocations";
    }
    if (!locksCounted() || seen.locks != 1) return "this host build does not see locks";
    return {};
}

}  // namespace

CheckResult realTimeCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    auto module = createModule(*plugin);
    startModule(*module);
    const std::string broken = selfTest(*module);
    if (!broken.empty()) return CheckResult::fail(broken);

    const ModuleDescription description = module->description();
    const ModuleProfile profile = profileOf(description);
    ExportTally callBack, process;
    for (const auto& step :
         makeWorkload(description, profile, kWorkloadSeed, kInRangeSteps, kStraySteps)) {
        setCallContext(&step.label);
        CallCounts before = moduleCallCounts();
        sendStepMessages(*module, step);
        callBack.add(moduleCallCounts() - before, step.label);
        before = moduleCallCounts();
        runBlock(*module);
        process.add(moduleCallCounts() - before, step.label);
    }
    setCallContext(nullptr);
    destroyModule(module);

    std::string fault;
    if (any(process.counts)) fault = process.text("Process");
    if (any(callBack.counts)) fault += (fault.empty() ? "" : "; ") + callBack.text("CallBack");
    if (!fault.empty()) return CheckResult::fail(fault);
    return CheckResult::pass();
}

}  // namespace qevhost::validate
