#include "noise_block.h"

namespace qev {

void computeNoiseBlockScalar(const NoiseBlockSettings& settings, const RandomTable& table,
                             int32_t first, int32_t count, double* values) {
    const OctavePlan plan(settings.octaves);
    const double w = settings.wrappedOffset;
    for (int32_t j = 0; j < count; ++j) {
        const double base = w + (static_cast<double>(first + j) + w) * settings.scale;
        const double sum = sumOctaves(base, plan, table);
        const double t = normaliseNoise(sum, settings.noiseMin, settings.noiseMax);
        values[j] = settings.outputRange * t + settings.outputMin;
    }
}

void computeNoiseBlock(const NoiseBlockSettings& settings, const RandomTable& table, int32_t first,
                       int32_t count, double* values) {
    computeNoiseBlockScalar(settings, table, first, count, values);
}

}  // namespace qev
