// The seeds a search runs through: the whole numbers a host can deliver to "Random Seed" as a
// 32-bit float, each giving a table of its own.
//
// "Random Seed" is a float, so above 2^24 (16777216) not every whole number reaches the module:
// only every second one up to 2^25, every fourth up to 2^26, and so on. The module keeps the low
// 32 bits of the whole number, so a float at or beyond 2^31 gives a seed that a float within
// [-2^31, 2^31) gives too; every table a float can give is given by a whole float in that range,
// whose value is its seed. The one exception is 0, which stands for 4357. A range therefore holds
// the whole floats from FROM to TO within [-2147483648, 2147483520], 0 left out when 4357 is in
// the range too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace seeds {

class SeedRange {
  public:
    static constexpr float kLowest = -2147483648.0f;
    static constexpr float kHighest = 2147483520.0f;  // the largest float below 2^31

    // The seeds from `from` to `to` (any numbers; fractions are dropped, as the module drops
    // them). Nothing, with `error` saying why, for a range that is reversed, holds no seed or
    // reaches beyond the lowest or highest seed.
    static std::optional<SeedRange> make(double from, double to, std::string& error);

    // How many seeds the range holds; seedAt(0) ... seedAt(count() - 1) in rising order.
    int64_t count() const { return count_; }
    float seedAt(int64_t k) const;

    float first() const { return first_; }
    float last() const { return last_; }

  private:
    float first_ = 0, last_ = 0;
    int64_t firstOrdinal_ = 0;
    int64_t count_ = 0;
    bool skipsZero_ = false;  // 0 gives 4357's table, which the range holds too
};

// The place of a whole float among all whole floats (0 at 0, 1 at 1, ...), and back.
int64_t ordinalOf(float wholeFloat);
float wholeFloatAt(int64_t ordinal);

}  // namespace seeds
