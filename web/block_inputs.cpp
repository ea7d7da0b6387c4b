#include "block_inputs.h"

#include <cmath>

namespace explorer {

int64_t framesOf(const BlockClock& clock) {
    return static_cast<int64_t>(std::llround(clock.seconds * clock.sampleRate));
}

int64_t blocksOf(const BlockClock& clock) {
    return (framesOf(clock) + clock.block - 1) / clock.block;
}

bool clockValid(const BlockClock& clock, std::string& error) {
    if (clock.sampleRate != 44100 && clock.sampleRate != 48000 && clock.sampleRate != 96000) {
        error = "the sample rate is 44100, 48000 or 96000";
    } else if (clock.block < 16 || clock.block > 4096) {
        error = "the block size is 16 to 4096 frames";
    } else if (!(clock.seconds > 0 && clock.seconds <= 60) || framesOf(clock) < 1) {
        error = "the seconds shown are above 0 and at most 60";
    } else {
        return true;
    }
    return false;
}

float blockInput(double from, double rate, const BlockClock& clock, int64_t k) {
    return static_cast<float>(from +
                              static_cast<double>(k) * rate * clock.block / clock.sampleRate);
}

double blockStart(const BlockClock& clock, int64_t k) {
    return static_cast<double>(k) * clock.block / clock.sampleRate;
}

}  // namespace explorer
