// The inputs of the time view: "Input" fed by a rising ramp, one value per processing block, as a
// ramp module in the host would deliver it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace explorer {

struct BlockClock {
    double sampleRate = 48000;  // 44100, 48000 or 96000
    int32_t block = 64;         // frames per block, 16 to 4096
    double seconds = 10;        // length shown, above 0 and at most 60
};

// The frames of `seconds` (rounded to whole frames) and the blocks that cover them; the last
// block may end after the last frame.
int64_t framesOf(const BlockClock& clock);
int64_t blocksOf(const BlockClock& clock);

// Nothing, with `error` saying why, for a clock outside the ranges above.
bool clockValid(const BlockClock& clock, std::string& error);

// Input of block k: From + k × rate × block / sampleRate, in double, rounded to float.
float blockInput(double from, double rate, const BlockClock& clock, int64_t k);

// The start of block k in seconds.
double blockStart(const BlockClock& clock, int64_t k);

}  // namespace explorer
