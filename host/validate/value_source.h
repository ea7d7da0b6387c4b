// Parameter values for driving a module: random ones inside a declared range, and the values a
// wire can deliver that no range offers. Only exact arithmetic on bits, so both architectures
// draw the same values from the same seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module_profile.h"

namespace qevhost::validate {

class ValueSource {
  public:
    explicit ValueSource(uint64_t seed) : state_(seed) {}

    uint64_t next();                 // 64 random bits
    uint32_t below(uint32_t count);  // 0 to count - 1

    // A value inside the parameter's range: its ends, its default, moderate values and values of
    // every magnitude the range holds. List values are whole item indices.
    float inRange(const InputParam& param);
    // Every input parameter set by inRange; other parameters keep their defaults.
    std::vector<float> inRangeSettings(const ModuleProfile& profile);
    // Settings that put positions on cell borders with the blend on: small whole numbers on the
    // inlets open to large values (input, offset, scale, seed, output range), the upper half of
    // the range on the others (fade, octaves, ...).
    std::vector<float> cellBorderSettings(const ModuleProfile& profile);

  private:
    float uniform(float lo, float hi);
    float anyMagnitude(const InputParam& param);
    uint64_t state_;
};

// NaN, infinities, the largest and smallest floats of both signs, both zeros, the range's ends,
// the next floats past them and values far outside.
std::vector<float> wildValues(const InputParam& param);

// "Octaves = nan", "Array Size = -3e+09": a parameter and its value, for messages.
std::string valueText(float value);

// Whether every value is a finite number: then every output must be one too.
bool allFinite(const std::vector<float>& values);

}  // namespace qevhost::validate
