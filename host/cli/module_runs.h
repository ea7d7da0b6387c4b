// The two ways `run` drives a started module: block by block with a ramp of inputs, or by
// computing its array outlets.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "qevhost/module.h"
#include "run_result.h"

namespace qevhost::cli {

// True if the module has array outlets (DataArray): those are computed, not run per block.
bool hasArrayOutputs(const ModuleDescription& module);

// Sets "Input" to each value and runs one block per value; the result holds Input and every
// non-array output. Without an "Input" parameter one block runs and `inputs` must be empty.
RunResult runBlocks(Module& module, const std::vector<float>& inputs);

enum class Press { Auto, Always, Never };

// Presses the module's Button if asked, or in Auto when "Mode" is not 0 or when nothing has
// computed the arrays yet (`computed`); the result holds Index and every array outlet.
RunResult runArrays(Module& module, Press press, bool computed);

}  // namespace qevhost::cli
