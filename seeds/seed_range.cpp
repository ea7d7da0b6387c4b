#include "seed_range.h"

#include <cmath>
#include <cstring>

namespace seeds {

namespace {

constexpr float kTwoTo24 = 16777216.0f;
constexpr int64_t kWholeBelowTwoTo24 = 16777216;

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float fromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

// Below 2^24 every whole number is a float; beyond it every float is whole, and consecutive
// floats have consecutive bit patterns.
int64_t ordinalOf(float wholeFloat) {
    const float size = std::fabs(wholeFloat);
    if (size <= kTwoTo24) return static_cast<int64_t>(wholeFloat);
    const int64_t beyond = kWholeBelowTwoTo24 + (bitsOf(size) - bitsOf(kTwoTo24));
    return wholeFloat < 0 ? -beyond : beyond;
}

float wholeFloatAt(int64_t ordinal) {
    const int64_t size = ordinal < 0 ? -ordinal : ordinal;
    if (size <= kWholeBelowTwoTo24) return static_cast<float>(ordinal);
    const float value =
        fromBits(bitsOf(kTwoTo24) + static_cast<uint32_t>(size - kWholeBelowTwoTo24));
    return ordinal < 0 ? -value : value;
}

std::optional<SeedRange> SeedRange::make(double from, double to, std::string& error) {
    if (!std::isfinite(from) || !std::isfinite(to)) {
        error = "the seeds' range needs two finite numbers";
        return std::nullopt;
    }
    if (from > to) {
        error = "the seeds' range runs from the lower to the higher seed";
        return std::nullopt;
    }
    if (std::trunc(from) < kLowest || std::trunc(to) > kHighest) {
        error =
            "seeds lie from -2147483648 to 2147483520: a float beyond gives a seed that one "
            "within gives too";
        return std::nullopt;
    }
    // The module drops fractions toward zero: -0.5 is seed 0, 7.9 seed 7.
    const double low = std::trunc(from) < from ? std::trunc(from) + 1 : std::trunc(from);
    float first = static_cast<float>(low);
    if (first < low) first = std::nextafter(first, kHighest);
    float last = static_cast<float>(std::trunc(to));
    if (last > std::trunc(to)) last = std::nextafter(last, kLowest);
    if (first > last) {
        error = "no whole number a float holds lies in the seeds' range";
        return std::nullopt;
    }
    SeedRange range;
    range.first_ = first + 0.0f;  // -0 is seed 0
    range.last_ = last + 0.0f;
    range.firstOrdinal_ = ordinalOf(range.first_);
    range.count_ = ordinalOf(range.last_) - range.firstOrdinal_ + 1;
    range.skipsZero_ = first <= 0 && last >= 4357;
    if (range.skipsZero_) --range.count_;
    return range;
}

float SeedRange::seedAt(int64_t k) const {
    int64_t ordinal = firstOrdinal_ + k;
    if (skipsZero_ && ordinal >= 0) ++ordinal;
    return wholeFloatAt(ordinal);
}

}  // namespace seeds
