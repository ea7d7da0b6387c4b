// Inputs shared by the benchmarks: many independent positions, so no benchmark times one cached
// position over and over.
#pragma once

#include <vector>

namespace qev::bench {

// Number of independent values computed per benchmark iteration.
constexpr int kValuesPerIteration = 256;

// kValuesPerIteration positions spread over [0, 1000), fixed across runs.
const std::vector<double>& valuePositions();

}  // namespace qev::bench
