// describe: the module's self-description is one a host can use, and the module writes nothing
// of the host's records but its own fields.
#include <cmath>
#include <limits>
#include <type_traits>

#include "check.h"
#include "format_text.h"
#include "module_run.h"
#include "value_source.h"
#include "watchdog.h"

namespace qevhost::validate {

namespace {

// The most parameters a module can address: callbacks with higher indices are dropped.
constexpr int32_t kMaxParams = 4094;

std::string name(const ParamDescription& p) {
    return p.caption ? "\"" + *p.caption + "\"" : "parameter " + std::to_string(p.index);
}

// What is wrong with one parameter's record, or an empty text.
std::string paramFault(const ParamDescription& p) {
    if (p.untouched) return "not described";
    if (!p.hostBytesOverwritten.empty()) return "host-owned bytes of its record overwritten";
    if (!p.caption || p.caption->empty()) return "no caption";
    const int32_t type = p.paramType.value_or(0);
    if (type != NumberBox && type != Fader && type != Button && type != ListBox &&
        type != DataArray) {
        return "unknown type " + std::to_string(type);
    }
    if (!p.isInput || !p.isOutput || (*p.isInput != 0) == (*p.isOutput != 0) ||
        (*p.isInput != 0 && *p.isInput != 1) || (*p.isOutput != 0 && *p.isOutput != 1)) {
        return "not exactly one of inlet and outlet";
    }
    if ((type == Button || type == ListBox) && !p.input()) return "a control that is an outlet";
    if (type == DataArray && !p.output()) return "an array that is an inlet";
    const bool numeric = type == NumberBox || type == Fader;
    if (numeric && (!p.minValue || !p.maxValue || !p.defaultValue)) {
        return "no range or no default";
    }
    if (p.minValue && p.maxValue && p.defaultValue) {
        const float lo = *p.minValue, hi = *p.maxValue, def = *p.defaultValue;
        if (!(lo <= def && def <= hi)) {
            return "min " + valueText(lo) + ", default " + valueText(def) + ", max " +
                   valueText(hi) + " out of order";
        }
    }
    if (p.format && !singleFloatConversion(*p.format)) {
        return "format \"" + *p.format + "\" is not one floating-point conversion";
    }
    if (type == ListBox) {
        if (!p.listItems || !wellFormedListItems(*p.listItems)) return "list items malformed";
        const float def = p.defaultValue.value_or(0.0f);
        const auto count = static_cast<float>(p.items().size());
        if (!(def >= 0.0f && def < count && def == std::floor(def))) {
            return "default " + valueText(def) + " is no item";
        }
    }
    return {};
}

std::string moduleFault(const ModuleDescription& d) {
    if (!d.name || d.name->empty()) return "no module name";
    if (!d.description || d.description->empty()) return "no module description";
    if (!d.version || d.version->empty()) return "no version";
    if (!d.hostBytesOverwritten.empty()) return "host-owned bytes of ModuleInfo overwritten";
    if (!d.numberOfParams || *d.numberOfParams < 1 || *d.numberOfParams > kMaxParams) {
        return "parameter count " +
               (d.numberOfParams ? std::to_string(*d.numberOfParams) : std::string("missing"));
    }
    for (const auto& p : d.params) {
        const std::string fault = paramFault(p);
        if (!fault.empty()) return name(p) + ": " + fault;
        for (const auto& q : d.params) {
            if (q.index < p.index && captionsMatch(*q.caption, *p.caption)) {
                return "caption " + name(p) + " used twice";
            }
        }
    }
    return {};
}

// Every field of a description, to tell whether a second query answers the same.
std::string fieldsText(const ModuleDescription& d) {
    auto text = [](const auto& field) {
        if (!field) return std::string("-");
        if constexpr (std::is_same_v<std::decay_t<decltype(*field)>, std::string>) {
            return *field;
        } else {
            return valueText(static_cast<float>(*field));
        }
    };
    std::string all = text(d.name) + "|" + text(d.description) + "|" + text(d.version) + "|" +
                      text(d.moduleType) + "|" + text(d.hostLookup) + "|" + text(d.optionCode);
    for (const auto& p : d.params) {
        all += "\n" + text(p.paramType) + "|" + text(p.caption) + "|" + text(p.isInput) + "|" +
               text(p.isOutput) + "|" + text(p.commonFlag) + "|" + text(p.settingFlag) + "|" +
               text(p.modeCode) + "|" + text(p.startsGroup) + "|" + text(p.minValue) + "|" +
               text(p.maxValue) + "|" + text(p.defaultValue) + "|" + text(p.format) + "|" +
               text(p.listItems);
    }
    return all;
}

}  // namespace

CheckResult describeCheck(const CheckContext& context) {
    auto plugin = Plugin::open(context.pluginPath);
    auto module = createModule(*plugin);
    ModuleDescription first;
    {
        TimedCall call("GetModuleInfo or GetParamInfo");
        first = module->describe();
    }
    const std::string fault = moduleFault(first);
    if (!fault.empty()) return CheckResult::fail(fault);

    const int32_t count = *first.numberOfParams;
    for (int32_t index : {-1, count, count + 1, 4095, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max()}) {
        TimedCall call("GetParamInfo");
        if (!module->queryParam(index).untouched) {
            return CheckResult::fail("GetParamInfo(" + std::to_string(index) +
                                     ") writes into the record");
        }
    }
    {
        TimedCall call("GetModuleInfo or GetParamInfo");
        if (fieldsText(module->describe()) != fieldsText(first)) {
            return CheckResult::fail("a second query describes the module differently");
        }
    }

    // Wired, initialised and computing once: still nothing written outside the module's fields.
    const ModuleProfile profile = profileOf(first);
    {
        TimedCall call("SetEventAddress");
        module->wire();
    }
    {
        TimedCall call("InitModule");
        module->init();
    }
    compute(*module, profile);
    const auto faults = moduleFaults(*module);
    if (!faults.empty()) return CheckResult::fail(faults.front());
    return CheckResult::pass(std::to_string(count) + " parameters");
}

}  // namespace qevhost::validate
