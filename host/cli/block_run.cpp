#include "cli_errors.h"
#include "module_runs.h"

namespace qevhost::cli {

bool hasArrayOutputs(const ModuleDescription& module) {
    for (const auto& p : module.params) {
        if (p.output() && p.paramType == DataArray) return true;
    }
    return false;
}

RunResult runBlocks(Module& module, const std::vector<float>& inputs) {
    const ModuleDescription& d = module.description();
    const int32_t input = d.indexOf("Input");
    if (input < 0 && !inputs.empty()) throw CliError("this module has no \"Input\" parameter");

    RunResult result;
    if (input >= 0) result.columns.push_back({"Input", {}});
    std::vector<int32_t> outputs;
    for (const auto& p : d.params) {
        if (p.output() && p.paramType != DataArray) {
            outputs.push_back(p.index);
            result.columns.push_back({p.caption.value_or(std::to_string(p.index)), {}});
            result.yLabel += (result.yLabel.empty() ? "" : ", ") + result.columns.back().name;
        }
    }
    const std::size_t blocks = input >= 0 ? inputs.size() : 1;
    for (std::size_t b = 0; b < blocks; ++b) {
        std::size_t column = 0;
        if (input >= 0) {
            module.setValue(input, inputs[b]);
            result.columns[column++].values.push_back(inputs[b]);
        }
        module.process();
        for (int32_t out : outputs) result.columns[column++].values.push_back(module.value(out));
    }
    return result;
}

}  // namespace qevhost::cli
