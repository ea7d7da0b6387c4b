// threads: separate objects share nothing, so two threads driving two objects at once get what
// the same calls give one after the other.
#include <atomic>
#include <thread>

#include "check.h"
#include "module_run.h"
#include "value_source.h"

namespace qevhost::validate {

namespace {

constexpr int kSteps = 24;
constexpr int kRounds = 3;

struct Driver {
    std::vector<std::vector<float>> settings;
    std::vector<Outputs> outputs;
    std::string error;

    void run(Module& module, const ModuleProfile& profile) {
        try {
            for (const auto& values : settings) {
                applyAndCompute(module, profile, values);
                outputs.push_back(outputsOf(module, profile));
            }
        } catch (const std::exception& e) {
            error = e.what();
        }
    }
};

}  // namespace

CheckResult threadsCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    auto probe = createModule(*plugin);
    startModule(*probe);
    const ModuleDescription description = probe->description();
    const ModuleProfile profile = profileOf(description);
    destroyModule(probe);

    // Two different workloads, the first run one after the other.
    Driver serial[2];
    ValueSource source(0x7472656164ull);
    for (auto& driver : serial) {
        for (int i = 0; i < kSteps; ++i) driver.settings.push_back(source.inRangeSettings(profile));
        auto module = createModule(*plugin);
        startModule(*module);
        driver.run(*module, profile);
        destroyModule(module);
        if (!driver.error.empty()) return CheckResult::fail(driver.error);
    }

    for (int round = 0; round < kRounds; ++round) {
        Driver parallel[2];
        std::unique_ptr<Module> modules[2];
        for (int t = 0; t < 2; ++t) {
            parallel[t].settings = serial[t].settings;
            modules[t] = createModule(*plugin);
            startModule(*modules[t]);
        }
        // Both threads wait for each other so that their calls overlap.
        std::atomic<int> ready{0};
        auto body = [&](int t) {
            ready.fetch_add(1);
            while (ready.load() < 2) std::this_thread::yield();
            parallel[t].run(*modules[t], profile);
        };
        std::thread other(body, 1);
        body(0);
        other.join();
        for (int t = 0; t < 2; ++t) {
            if (!parallel[t].error.empty()) return CheckResult::fail(parallel[t].error);
            std::string where;
            for (int i = 0; i < kSteps; ++i) {
                if (!sameBits(parallel[t].outputs[static_cast<std::size_t>(i)],
                              serial[t].outputs[static_cast<std::size_t>(i)], description,
                              &where)) {
                    return CheckResult::fail("thread " + std::to_string(t + 1) + ", step " +
                                             std::to_string(i) + ": " + where);
                }
            }
            destroyModule(modules[t]);
        }
    }
    return CheckResult::pass();
}

}  // namespace qevhost::validate
