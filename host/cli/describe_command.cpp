// qevhost describe PLUGIN: the module's self-description and its parameter table.
#include <iostream>

#include "cli_errors.h"
#include "commands.h"
#include "host_report.h"
#include "qevhost/module.h"
#include "text_format.h"

namespace qevhost::cli {

namespace {

std::string optionalInt(const std::optional<int32_t>& value) {
    return value ? std::to_string(*value) : "-";
}

std::string optionalBound(const std::optional<float>& value) {
    return value ? formatBound(*value) : "-";
}

std::string direction(const ParamDescription& p) {
    if (p.input() && p.output()) return "in+out";
    if (p.input()) return "in";
    if (p.output()) return "out";
    return "-";
}

// Host codes in short form: c commonFlag, s settingFlag, m modeCode.
std::string flags(const ParamDescription& p) {
    std::string text = "c" + optionalInt(p.commonFlag);
    if (p.settingFlag) text += " s" + std::to_string(*p.settingFlag);
    if (p.modeCode) text += " m" + std::to_string(*p.modeCode);
    return text;
}

std::string items(const ParamDescription& p) {
    std::string text;
    for (const auto& item : p.items()) text += (text.empty() ? "" : " | ") + item;
    return text;
}

std::string architecture(int bits) {
    return bits == 32 ? "32-bit x86" : "64-bit x86-64";
}

void printHeader(const Plugin& plugin, const ModuleDescription& d) {
    std::vector<std::vector<std::string>> rows = {
        {"Module", orDash(d.description) + " (" + orDash(d.name) + ")"},
        {"Version", orDash(d.version)},
        {"SDK version", std::to_string(plugin.sdkVersion())},
        {"Plug-in", plugin.path() + " (" + architecture(plugin.bits()) + ")"},
        {"Host codes", "moduleType " + optionalInt(d.moduleType) + ", optionCode " +
                           optionalInt(d.optionCode) + ", hostLookup " + optionalInt(d.hostLookup)},
        {"Parameters", optionalInt(d.numberOfParams)},
    };
    std::cout << alignColumns(rows) << "\n";
}

void printParams(const ModuleDescription& d) {
    std::vector<std::vector<std::string>> rows = {{"#", "Caption", "Type", "Dir", "Min", "Max",
                                                   "Default", "Format", "Group", "Flags", "Items"}};
    for (const auto& p : d.params) {
        rows.push_back({std::to_string(p.index), orDash(p.caption),
                        p.paramType ? paramTypeName(*p.paramType) : "-", direction(p),
                        optionalBound(p.minValue), optionalBound(p.maxValue),
                        optionalBound(p.defaultValue), orDash(p.format),
                        p.startsGroup.value_or(0) ? "new" : "", flags(p), items(p)});
    }
    std::cout << alignColumns(rows);
    std::cout << "\nGroup \"new\": first parameter of a group. Flags: c commonFlag, s settingFlag,"
                 " m modeCode. \"-\": not written by the module.\n";
}

}  // namespace

int describeCommand(const DescribeOptions& options) {
    auto plugin = Plugin::open(options.plugin);
    Module module(*plugin);
    printReportsAsTheyArrive(module);
    const ModuleDescription& d = module.describe();
    printHeader(*plugin, d);
    printParams(d);
    return printHostErrors(module) ? kExitFailure : kExitOk;
}

}  // namespace qevhost::cli
