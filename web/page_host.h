// The page's module object and the inputs of its last block run, for the exports that work
// beside the main ones (the seed panel).
#pragma once

#include <vector>

#include "explorer_host.h"

namespace explorer {

ExplorerHost& pageHost();
// The inputs of the last run of Process blocks (empty after an array run).
const std::vector<float>& pageInputs();

}  // namespace explorer
