#include "plot_result.h"

#include <cmath>
#include <fstream>

#include "cli_errors.h"
#include "plot.h"

namespace qevhost::cli {

void writePlot(const RunResult& result, const std::string& path) {
    Chart chart{result.title,
                result.columns.empty() ? "" : result.columns[0].name,
                result.yLabel,
                result.indexed,
                {}};
    for (std::size_t c = 1; c < result.columns.size(); ++c) {
        PlotSeries series{result.columns[c].name, {}, {}};
        const auto& xs = result.columns[0].values;
        const auto& ys = result.columns[c].values;
        for (std::size_t i = 0; i < ys.size() && i < xs.size(); ++i) {
            series.x.push_back(xs[i] ? *xs[i] : NAN);
            series.y.push_back(ys[i] ? *ys[i] : NAN);
        }
        chart.series.push_back(std::move(series));
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << renderPlot(chart);
    file.close();
    if (!file) throw CliError("cannot write " + path);
}

}  // namespace qevhost::cli
