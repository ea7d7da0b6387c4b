// load: the library loads and unloads cleanly, again and again, answers as a plug-in must, and
// gives back at unload what it took at load: hosts load and unload a plug-in far more often than
// a patch suggests (scanning, showing its parameters, reopening patches).
#include "call_counts.h"
#include "check.h"
#include "module_run.h"
#include "qevhost/errors.h"
#include "watchdog.h"

namespace qevhost::validate {

namespace {

constexpr int kLoads = 200;
// The first cycles fill caches that are kept on purpose (the loader's, the allocator's).
constexpr int kSettlingLoads = 10;
constexpr int64_t kKeptBytesLimit = 1024;  // per cycle
constexpr int32_t kSdkVersion = 601001;

// What the cycles after the settling ones kept, per cycle.
CheckResult keptMemory(const HeapBytes& settled, const HeapBytes& end) {
    if (end.taken == settled.taken) {
        // Loading allocates, so the interposers are not in the path (valgrind owns the allocator).
        return CheckResult::pass("bytes kept per cycle not counted here");
    }
    const int64_t kept = end.held - settled.held;
    const int64_t perCycle = kept / (kLoads - kSettlingLoads);
    const std::string figure = std::to_string(perCycle) + " bytes kept per cycle over loads " +
                               std::to_string(kSettlingLoads + 1) + " to " + std::to_string(kLoads);
    if (perCycle > kKeptBytesLimit) return CheckResult::fail(figure + ", more than 1 kB");
    return CheckResult::pass(figure);
}

}  // namespace

CheckResult loadCheck(const CheckContext& context) {
    HeapBytes settled;
    for (int i = 0; i < kLoads; ++i) {
        if (i == kSettlingLoads) settled = processHeapBytes();
        std::unique_ptr<Plugin> plugin;
        try {
            // Opening resolves all 34 exports and fails naming the first one missing.
            TimedCall call("loading the library");
            plugin = Plugin::open(context.pluginPath);
        } catch (const LoadError& error) {
            return CheckResult::fail(std::string(error.what()) + " (load " + std::to_string(i + 1) +
                                     ")");
        }
        int32_t version;
        {
            TimedCall call("GetSDKVersion");
            version = plugin->sdkVersion();
        }
        if (version != kSdkVersion) {
            return CheckResult::fail("GetSDKVersion answers " + std::to_string(version));
        }
        // One object per load: its creation and destruction work on a library loaded anew.
        auto module = createModule(*plugin);
        destroyModule(module);
        TimedCall call("unloading the library");
        plugin.reset();
    }
    return keptMemory(settled, processHeapBytes());
}

}  // namespace qevhost::validate
