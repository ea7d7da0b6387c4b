// `run --plot FILE.svg`: the run's table as a picture.
#pragma once

#include <string>

#include "run_result.h"

namespace qevhost::cli {

// Plots every column after the first against the first and writes the SVG file; throws CliError
// when the file cannot be written.
void writePlot(const RunResult& result, const std::string& path);

}  // namespace qevhost::cli
