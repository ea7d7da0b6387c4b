// order: a host that calls out of order must not bring the module down, and a module used out of
// order and then started properly computes what a fresh one does.
#include "check.h"
#include "module_run.h"
#include "watchdog.h"

namespace qevhost::validate {

namespace {

// Every parameter index the module has, and the ones around it.
std::vector<intptr_t> everyIndex(int32_t paramCount) {
    std::vector<intptr_t> indices = {-1, 4094, 4095};
    for (int32_t i = 0; i <= paramCount; ++i) indices.push_back(i);
    return indices;
}

void messageEveryIndex(Module& module, int32_t paramCount) {
    for (intptr_t index : everyIndex(paramCount)) deliver(module, index);
}

void describeTimed(Module& module) {
    TimedCall call("GetModuleInfo or GetParamInfo");
    module.describe();
}

void wireTimed(Module& module) {
    TimedCall call("SetEventAddress");
    module.wire();
}

void callExport(Module& module, const char* what, void (*call)(Module&)) {
    ModuleCallScope scope(module);
    TimedCall timed(what);
    call(module);
}

}  // namespace

CheckResult orderCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);

    // Destroy right after Create.
    for (int i = 0; i < 3; ++i) {
        auto module = createModule(*plugin);
        destroyModule(module);
    }
    {
        auto module = createModule(*plugin);
        callExport(*module, "Destroy", [](Module& m) { m.exports().Destroy(nullptr); });
    }

    // The reference: a module started in order.
    auto reference = createModule(*plugin);
    startModule(*reference);
    const ModuleDescription description = reference->description();
    const ModuleProfile profile = profileOf(description);
    const int32_t count = profile.paramCount;
    applyAndCompute(*reference, profile, profile.defaults());
    const Outputs expected = outputsOf(*reference, profile);

    std::vector<std::unique_ptr<Module>> misused;
    // Processing and messages before anything else, then InitModule with no records at all.
    misused.push_back(createModule(*plugin));
    runBlock(*misused.back());
    messageEveryIndex(*misused.back(), count);
    callExport(*misused.back(), "InitModule",
               [](Module& m) { m.exports().InitModule(m.object(), nullptr, nullptr); });
    runBlock(*misused.back());
    // Described but not wired: messages and processing.
    misused.push_back(createModule(*plugin));
    describeTimed(*misused.back());
    messageEveryIndex(*misused.back(), count);
    runBlock(*misused.back());
    // Wired but not initialised.
    misused.push_back(createModule(*plugin));
    describeTimed(*misused.back());
    wireTimed(*misused.back());
    runBlock(*misused.back());
    messageEveryIndex(*misused.back(), count);
    // Initialised twice.
    misused.push_back(createModule(*plugin));
    startModule(*misused.back());
    {
        TimedCall call("InitModule");
        misused.back()->init();
    }
    // A null message, before and after starting.
    misused.push_back(createModule(*plugin));
    callExport(*misused.back(), "CallBack",
               [](Module& m) { m.exports().CallBack(m.object(), nullptr); });
    startModule(*misused.back());
    callExport(*misused.back(), "CallBack",
               [](Module& m) { m.exports().CallBack(m.object(), nullptr); });

    // Each now started in order computes what the reference computes.
    for (std::size_t i = 0; i < misused.size(); ++i) {
        Module& module = *misused[i];
        if (module.paramCount() == 0) {
            describeTimed(module);
            wireTimed(module);
        }
        {
            TimedCall call("InitModule");
            module.init();
        }
        applyAndCompute(module, profile, profile.defaults());
        std::string where;
        if (!sameBits(outputsOf(module, profile), expected, description, &where)) {
            static const char* const kinds[] = {
                "processed before anything else", "called back before wiring",
                "processed before init", "initialised twice", "given a null message"};
            return CheckResult::fail(std::string("a module ") + kinds[i] +
                                     " computes differently once started: " + where);
        }
        destroyModule(misused[i]);
    }
    destroyModule(reference);
    return CheckResult::pass();
}

}  // namespace qevhost::validate
