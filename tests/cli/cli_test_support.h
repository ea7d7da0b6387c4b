// Helpers shared by the command-line tests: reading `run --csv` output and computing the same
// values through the host library.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qevhost/module.h"

// Rows of simple CSV (no quoted cells), header row included.
std::vector<std::vector<std::string>> parseCsv(const std::string& text);

// The float a printed value stands for; fails the test on text that is not entirely a number.
float readFloat(const std::string& text);

// A started module of the given plug-in with the changes applied in order, as `run` does.
struct LibraryModule {
    LibraryModule(const char* path, const std::vector<std::pair<int32_t, float>>& changes);
    std::unique_ptr<qevhost::Plugin> plugin;
    std::unique_ptr<qevhost::Module> module;
};

// Indices of the two modules' parameters used in the tests.
namespace random_param {
constexpr int32_t kInput = 0, kSeed = 1, kScale = 2, kOctaves = 4, kFade = 7, kOutput = 12;
}
namespace array_param {
constexpr int32_t kMode = 0, kCalculate = 1, kSeed = 2, kOctaves = 5, kSize = 13, kFloatOut = 14,
                  kIntegerOut = 15;
}
