// Shared helpers of the module tests: the two plug-ins of this build tree, exact float checks,
// a readable trace of host calls, and random tables built independently of the plug-ins.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qevhost/qevhost.h"
#include "random_table.h"

namespace qevtest {

// Parameter indices of Qev Random.
namespace rnd {
constexpr int32_t Input = 0;
constexpr int32_t Seed = 1;
constexpr int32_t Scale = 2;
constexpr int32_t Offset = 3;
constexpr int32_t Octaves = 4;
constexpr int32_t NoiseMin = 5;
constexpr int32_t NoiseMax = 6;
constexpr int32_t Fade = 7;
constexpr int32_t Bias = 8;
constexpr int32_t Gain = 9;
constexpr int32_t OutputMin = 10;
constexpr int32_t OutputMax = 11;
constexpr int32_t Output = 12;
}  // namespace rnd

// Parameter indices of Qev RandomArray.
namespace arr {
constexpr int32_t Mode = 0;
constexpr int32_t Calculate = 1;
constexpr int32_t Seed = 2;
constexpr int32_t Scale = 3;
constexpr int32_t Offset = 4;
constexpr int32_t Octaves = 5;
constexpr int32_t NoiseMin = 6;
constexpr int32_t NoiseMax = 7;
constexpr int32_t Fade = 8;
constexpr int32_t Bias = 9;
constexpr int32_t Gain = 10;
constexpr int32_t OutputMin = 11;
constexpr int32_t OutputMax = 12;
constexpr int32_t Size = 13;
constexpr int32_t FloatOut = 14;
constexpr int32_t IntegerOut = 15;
}  // namespace arr

const qevhost::Plugin& randomPlugin();
const qevhost::Plugin& randomArrayPlugin();

struct Setting {
    int32_t index;
    float value;
};

// A module object of the plug-in, described and wired, with these parameter values set before
// it is initialised.
std::unique_ptr<qevhost::Module> startedModule(const qevhost::Plugin& plugin,
                                               const std::vector<Setting>& settings = {});

uint32_t bitsOf(float value);
float floatFromBits(uint32_t bits);

// Success when both floats have the same bit pattern (so -0 differs from 0 and NaN equals NaN).
::testing::AssertionResult sameBits(float actual, float expected);

// One line per host call: "get 2", "size 14=8", "array 14[0]", "set 12", "lookup 60", "report".
std::vector<std::string> callTrace(const std::vector<qevhost::ServiceCall>& calls);
std::size_t countCalls(const std::vector<qevhost::ServiceCall>& calls, qevhost::Service service);

// The table a seed builds, from the engine directly.
const qev::RandomTable& tableFor(int32_t seed);

// A parameter row as the module should describe it; nullopt: the field must stay unwritten.
struct ExpectedRow {
    int32_t type;
    const char* caption;
    bool input;
    std::optional<uint32_t> minBits, maxBits;
    std::optional<float> defaultValue;
    std::optional<std::string> format;
    std::optional<int32_t> settingFlag, modeCode, startsGroup;
    std::optional<std::string> listItems;
};

constexpr uint32_t kFltMaxBits = 0x7f7fffff;
constexpr uint32_t kNegFltMaxBits = 0xff7fffff;

// Checks every field of one described parameter against the row.
void expectRow(const qevhost::ParamDescription& actual, const ExpectedRow& expected);

}  // namespace qevtest
