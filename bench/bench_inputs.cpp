#include "bench_inputs.h"

#include <random>

namespace qev::bench {

const std::vector<double>& valuePositions() {
    static const std::vector<double> positions = [] {
        std::mt19937_64 random(2024);
        std::vector<double> out(kValuesPerIteration);
        for (double& p : out) p = static_cast<double>(random() >> 11) * 0x1p-53 * 1000.0;
        return out;
    }();
    return positions;
}

}  // namespace qev::bench
