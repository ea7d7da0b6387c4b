// instances: many objects live side by side, each with its own state.
#include "check.h"
#include "module_run.h"

namespace qevhost::validate {

namespace {

constexpr int kObjects = 100;

// Object i's settings: the defaults with seed i * 7919 + 1, so every seed differs.
std::vector<float> settingsFor(const ModuleProfile& profile, int i) {
    std::vector<float> values = profile.defaults();
    if (profile.seed >= 0)
        values[static_cast<std::size_t>(profile.seed)] = static_cast<float>(i * 7919 + 1);
    return values;
}

}  // namespace

CheckResult instancesCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    std::vector<std::unique_ptr<Module>> modules;
    for (int i = 0; i < kObjects; ++i) {
        modules.push_back(createModule(*plugin));
        startModule(*modules.back());
    }
    const ModuleProfile profile = profileOf(modules.front()->description());
    const ModuleDescription description = modules.front()->description();

    // All objects get their seeds first, then all compute: a table shared between objects would
    // show the last seed everywhere.
    for (int i = 0; i < kObjects; ++i) {
        setValues(*modules[static_cast<std::size_t>(i)], settingsFor(profile, i));
        for (const auto& in : profile.inputs)
            deliver(*modules[static_cast<std::size_t>(i)], in.index);
    }
    std::vector<Outputs> outputs;
    for (auto& module : modules) {
        compute(*module, profile);
        outputs.push_back(outputsOf(*module, profile));
    }

    std::string where;
    bool anyDiffers = false;
    for (int i = 0; i < kObjects; ++i) {
        // Each object matches a lone object with the same settings.
        auto alone = createModule(*plugin);
        startModule(*alone);
        applyAndCompute(*alone, profile, settingsFor(profile, i));
        if (!sameBits(outputsOf(*alone, profile), outputs[static_cast<std::size_t>(i)], description,
                      &where)) {
            return CheckResult::fail("object " + std::to_string(i) +
                                     " of 100 differs from a lone object with its seed: " + where);
        }
        destroyModule(alone);
        if (i > 0 &&
            !sameBits(outputs[static_cast<std::size_t>(i)], outputs[0], description, &where))
            anyDiffers = true;
    }
    if (profile.seed >= 0 && !anyDiffers) {
        return CheckResult::fail("100 different seeds give the same outputs");
    }

    // Destroy every third object; the others compute exactly what they did before.
    for (int i = 0; i < kObjects; i += 3) destroyModule(modules[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kObjects; ++i) {
        auto& module = modules[static_cast<std::size_t>(i)];
        if (!module) continue;
        applyAndCompute(*module, profile, settingsFor(profile, i));
        if (!sameBits(outputsOf(*module, profile), outputs[static_cast<std::size_t>(i)],
                      description, &where)) {
            return CheckResult::fail("object " + std::to_string(i) +
                                     " changed after others were destroyed: " + where);
        }
    }
    for (auto& module : modules) {
        if (module) destroyModule(module);
    }
    return CheckResult::pass();
}

}  // namespace qevhost::validate
