// A table built from one seed, with the generator and cache it was built with.
#pragma once

#include <cstdint>

#include "random_table.h"

namespace qev::test {

struct SeededEngine {
    explicit SeededEngine(int32_t seed) { table.reseed(seed, generator, lastSeed); }
    SeededGenerator generator;
    SeedCache lastSeed;
    RandomTable table;
};

}  // namespace qev::test
