// load: the library loads and unloads cleanly, again and again, and answers as a plug-in must.
#include "check.h"
#include "module_run.h"
#include "qevhost/errors.h"
#include "watchdog.h"

namespace qevhost::validate {

namespace {

constexpr int kLoads = 200;
constexpr int32_t kSdkVersion = 601001;

}  // namespace

CheckResult loadCheck(const CheckContext& context) {
    for (int i = 0; i < kLoads; ++i) {
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
    return CheckResult::pass();
}

}  // namespace qevhost::validate
