// Settings for noise blocks, drawn at random with a strong bias toward the edges: huge and
// negative offsets and scales, NaN and infinities, every octave count, fade windows at and beyond
// their range, extreme bias and gain, equal and reversed windows and ranges, positions near the
// 32-bit cell limits and exactly on cell edges.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "noise_block.h"

namespace qev::testing {

struct NoiseCase {
    NoiseBlockSettings settings;
    int32_t first = 0;
    int32_t count = 0;
};

// Same bits on every build and standard library: no std distributions.
class CaseSource {
  public:
    explicit CaseSource(uint64_t seed) : random_(seed) {}

    NoiseCase next();
    uint64_t bits() { return random_(); }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(random_() >> 11) * 0x1p-53;
    }
    int32_t below(int32_t n) { return static_cast<int32_t>(random_() % static_cast<uint64_t>(n)); }
    template <typename T, std::size_t N>
    T pick(const T (&values)[N]) {
        return values[below(static_cast<int32_t>(N))];
    }

  private:
    double offset();
    double scale();
    double octaves();
    double fadeWindow();
    double shape();
    std::mt19937_64 random_;
};

inline uint64_t bitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Which NaN an operation yields depends on which operand the compiler puts first, so every NaN
// counts as the same value; all other doubles are compared bit for bit.
inline uint64_t canonicalBits(double value) {
    return value != value ? 0x7FF8000000000000ull : bitsOf(value);
}

// FNV-1a over the bytes of a double, in a fixed byte order.
inline void hashInto(uint64_t& hash, double value) {
    const uint64_t bits = canonicalBits(value);
    for (int i = 0; i < 8; ++i) {
        hash ^= (bits >> (8 * i)) & 255u;
        hash *= 1099511628211ull;
    }
}

constexpr uint64_t kHashStart = 1469598103934665603ull;

}  // namespace qev::testing
