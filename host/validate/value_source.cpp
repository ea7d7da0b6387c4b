#include "value_source.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace qevhost::validate {

namespace {

float fromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float clampTo(float value, float lo, float hi) {
    return value < lo ? lo : (value > hi ? hi : value);
}

// Moderate values are drawn from this part of a wide range.
constexpr float kModerate = 1000.0f;

}  // namespace

uint64_t ValueSource::next() {
    // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t ValueSource::below(uint32_t count) {
    return count == 0 ? 0 : static_cast<uint32_t>(next() % count);
}

float ValueSource::uniform(float lo, float hi) {
    // 24 random bits scale the width exactly; the widening keeps the width finite.
    const double unit = static_cast<double>(next() >> 40) / 16777216.0;
    const double value = static_cast<double>(lo) + (static_cast<double>(hi) - lo) * unit;
    return clampTo(static_cast<float>(value), lo, hi);
}

float ValueSource::anyMagnitude(const InputParam& param) {
    // Random bit patterns spread evenly over the exponents: tiny, huge and everything between.
    for (int attempt = 0; attempt < 64; ++attempt) {
        const float value = fromBits(static_cast<uint32_t>(next()));
        if (value >= param.minValue && value <= param.maxValue) return value;
    }
    return uniform(param.minValue, param.maxValue);
}

float ValueSource::inRange(const InputParam& param) {
    if (param.kind == InputKind::List) {
        return static_cast<float>(
            below(static_cast<uint32_t>(param.itemCount > 0 ? param.itemCount : 1)));
    }
    switch (below(8)) {
        case 0:
            return param.minValue;
        case 1:
            return param.maxValue;
        case 2:
            return param.defaultValue;
        case 3:
        case 4:
            return anyMagnitude(param);
        default: {
            float lo = param.minValue > -kModerate ? param.minValue : -kModerate;
            float hi = param.maxValue < kModerate ? param.maxValue : kModerate;
            if (lo > hi) {
                lo = param.minValue;
                hi = param.maxValue;
            }
            return uniform(lo, hi);
        }
    }
}

std::vector<float> ValueSource::inRangeSettings(const ModuleProfile& profile) {
    std::vector<float> values = profile.defaults();
    for (const auto& in : profile.inputs) values[static_cast<std::size_t>(in.index)] = inRange(in);
    return values;
}

std::vector<float> ValueSource::cellBorderSettings(const ModuleProfile& profile) {
    static const float kWhole[] = {0.0f, 1.0f, 2.0f, 3.0f, -1.0f, -2.0f, 7.0f};
    std::vector<float> values = profile.defaults();
    for (const auto& in : profile.inputs) {
        float value = inRange(in);
        if (in.kind == InputKind::Number && in.maxValue >= kModerate) {
            float whole[sizeof kWhole / sizeof kWhole[0]];
            uint32_t count = 0;
            for (float w : kWhole) {
                if (w >= in.minValue && w <= in.maxValue) whole[count++] = w;
            }
            if (count > 0) value = whole[below(count)];
        } else if (in.kind == InputKind::Number) {
            value = uniform(in.minValue + (in.maxValue - in.minValue) * 0.5f, in.maxValue);
        }
        values[static_cast<std::size_t>(in.index)] = value;
    }
    return values;
}

std::vector<float> wildValues(const InputParam& param) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values = {
        nan,  -nan, inf,   -inf, FLT_MAX, -FLT_MAX, -0.0f,  0.0f, 1e-45f, -1e-45f, 1.1754942e-38f,
        0.5f, 1e9f, -1e9f, 3e9f, -3e9f,   1e20f,    -1e20f, 1.0f, -1.0f,  2.0f,    -2.0f};
    // Each end, the next float past it and a value well past it, where the range allows it.
    if (param.minValue > -FLT_MAX) {
        values.insert(values.end(), {param.minValue, std::nextafter(param.minValue, -inf),
                                     param.minValue - 1.0f});
    }
    if (param.maxValue < FLT_MAX) {
        values.insert(values.end(),
                      {param.maxValue, std::nextafter(param.maxValue, inf), param.maxValue + 1.0f});
    }
    return values;
}

bool allFinite(const std::vector<float>& values) {
    for (float v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

std::string valueText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

}  // namespace qevhost::validate
