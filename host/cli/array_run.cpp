#include "cli_errors.h"
#include "module_runs.h"

namespace qevhost::cli {

namespace {

int32_t findButton(const ModuleDescription& d) {
    for (const auto& p : d.params) {
        if (p.input() && p.paramType == Button) return p.index;
    }
    return -1;
}

}  // namespace

RunResult runArrays(Module& module, Press press, bool computed) {
    const ModuleDescription& d = module.description();
    const int32_t button = findButton(d);
    const int32_t mode = d.indexOf("Mode");
    const bool modeNeedsPress = mode >= 0 && module.value(mode) != 0.0f;
    if (press == Press::Always && button < 0) {
        throw CliError("--press: this module has no button");
    }
    const bool pressNow =
        press == Press::Always || (press == Press::Auto && (modeNeedsPress || !computed));
    if (pressNow && button >= 0) module.callBack(button, 0);

    RunResult result;
    result.indexed = true;
    result.columns.push_back({"Index", {}});
    std::size_t longest = 0;
    for (const auto& p : d.params) {
        if (!p.output() || p.paramType != DataArray) continue;
        ResultColumn column{p.caption.value_or(std::to_string(p.index)), {}};
        for (float v : module.array(p.index)) column.values.push_back(v);
        longest = std::max(longest, column.values.size());
        result.yLabel += (result.yLabel.empty() ? "" : ", ") + column.name;
        result.columns.push_back(std::move(column));
    }
    for (std::size_t i = 0; i < longest; ++i) {
        result.columns[0].values.push_back(static_cast<float>(i));
    }
    return result;
}

}  // namespace qevhost::cli
