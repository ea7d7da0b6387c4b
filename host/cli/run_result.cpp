#include "run_result.h"

#include "text_format.h"

namespace qevhost::cli {

std::size_t RunResult::rowCount() const {
    std::size_t rows = 0;
    for (const auto& column : columns) rows = std::max(rows, column.values.size());
    return rows;
}

std::string formatResult(const RunResult& result, bool csv) {
    std::vector<std::vector<std::string>> rows(1);
    for (const auto& column : result.columns) rows[0].push_back(column.name);
    for (std::size_t r = 0; r < result.rowCount(); ++r) {
        std::vector<std::string> row;
        for (std::size_t c = 0; c < result.columns.size(); ++c) {
            const auto& values = result.columns[c].values;
            if (r >= values.size() || !values[r]) {
                row.emplace_back();
            } else if (c == 0 && result.indexed) {
                row.push_back(std::to_string(static_cast<long>(*values[r])));
            } else {
                row.push_back(formatFloat(*values[r]));
            }
        }
        rows.push_back(row);
    }
    if (!csv) return "# " + result.title + "\n" + alignColumns(rows);
    std::string out;
    for (const auto& row : rows) out += csvLine(row);
    return out;
}

}  // namespace qevhost::cli
