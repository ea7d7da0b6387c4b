#include "module_run.h"

#include <cstring>

#include "value_source.h"
#include "watchdog.h"

namespace qevhost::validate {

namespace {

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

std::unique_ptr<Module> createModule(const Plugin& plugin) {
    std::unique_ptr<Module> module;
    {
        TimedCall call("Create");
        module = std::make_unique<Module>(plugin);
    }
    module->setCallLogging(false);
    return module;
}

void destroyModule(std::unique_ptr<Module>& module) {
    TimedCall call("Destroy");
    module.reset();
}

void startModule(Module& module) {
    {
        TimedCall call("GetModuleInfo or GetParamInfo");
        module.describe();
    }
    {
        TimedCall call("SetEventAddress");
        module.wire();
    }
    TimedCall call("InitModule");
    module.init();
}

void deliver(Module& module, intptr_t paramIndex, intptr_t detail) {
    TimedCall call("CallBack");
    module.callBack(paramIndex, detail);
}

void runBlock(Module& module) {
    TimedCall call("Process");
    module.process();
}

void setValues(Module& module, const std::vector<float>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        module.setValue(static_cast<int32_t>(i), values[i]);
    }
}

void applyAndCompute(Module& module, const ModuleProfile& profile,
                     const std::vector<float>& values) {
    setValues(module, values);
    for (const auto& in : profile.inputs) deliver(module, in.index);
    compute(module, profile);
}

void compute(Module& module, const ModuleProfile& profile) {
    for (int32_t button : profile.buttons) deliver(module, button);
    runBlock(module);
}

Outputs outputsOf(const Module& module, const ModuleProfile& profile) {
    Outputs outputs;
    for (const auto& out : profile.outputs) {
        outputs.params.push_back(out.index);
        if (out.isArray) {
            outputs.values.push_back(module.array(out.index));
        } else {
            outputs.values.push_back({module.value(out.index)});
        }
    }
    return outputs;
}

bool sameBits(const Outputs& a, const Outputs& b, const ModuleDescription& description,
              std::string* where) {
    for (std::size_t o = 0; o < a.values.size() && o < b.values.size(); ++o) {
        const auto& x = a.values[o];
        const auto& y = b.values[o];
        const std::string outlet = "\"" + captionOf(description, a.params[o]) + "\"";
        if (x.size() != y.size()) {
            *where = outlet + " holds " + std::to_string(x.size()) + " against " +
                     std::to_string(y.size()) + " values";
            return false;
        }
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (bitsOf(x[i]) == bitsOf(y[i])) continue;
            *where = outlet + (x.size() > 1 ? "[" + std::to_string(i) + "]" : "") + " is " +
                     valueText(x[i]) + " against " + valueText(y[i]);
            return false;
        }
    }
    if (a.values.size() != b.values.size()) {
        *where = "different numbers of outlets";
        return false;
    }
    return true;
}

uint64_t fingerprint(const std::vector<Outputs>& runs, uint64_t previous) {
    // FNV-1a over the bits of every value.
    uint64_t hash = previous ? previous : 0xcbf29ce484222325ull;
    auto mix = [&hash](uint32_t word) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (word >> shift) & 0xffu;
            hash *= 0x100000001b3ull;
        }
    };
    for (const auto& run : runs) {
        for (const auto& values : run.values) {
            mix(static_cast<uint32_t>(values.size()));
            for (float value : values) mix(bitsOf(value));
        }
    }
    return hash;
}

std::vector<std::string> moduleFaults(const Module& module, std::size_t from) {
    const auto& errors = module.hostErrors();
    if (from >= errors.size()) return {};
    return {errors.begin() + static_cast<std::ptrdiff_t>(from), errors.end()};
}

std::string settingsText(const ModuleDescription& description, const ModuleProfile& profile,
                         const std::vector<float>& values) {
    std::string text;
    for (const auto& in : profile.inputs) {
        text += (text.empty() ? "" : ", ") + captionOf(description, in.index) + " = " +
                valueText(values[static_cast<std::size_t>(in.index)]);
    }
    return text;
}

std::string captionOf(const ModuleDescription& description, int32_t index) {
    if (index >= 0 && static_cast<std::size_t>(index) < description.params.size()) {
        const auto& caption = description.params[static_cast<std::size_t>(index)].caption;
        if (caption) return *caption;
    }
    return "parameter " + std::to_string(index);
}

}  // namespace qevhost::validate
