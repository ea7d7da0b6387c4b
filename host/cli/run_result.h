// The table that `run` produces: a first column (Input or Index) and one column per output.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qevhost::cli {

struct ResultColumn {
    std::string name;
    std::vector<std::optional<float>> values;  // nullopt where an array is shorter
};

struct RunResult {
    std::string title;     // module and the settings that differ from the defaults
    std::string yLabel;    // title of the value axis in a plot: the outputs' captions
    bool indexed = false;  // the first column counts elements (printed as integers)
    std::vector<ResultColumn> columns;

    std::size_t rowCount() const;
};

// Aligned text with a "# title" line, or CSV with a header row.
std::string formatResult(const RunResult& result, bool csv);

}  // namespace qevhost::cli
