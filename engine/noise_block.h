// A stretch of the noise curve for the array module: element i sits at base position
// w + (i + w) * scale (the wrapped offset counted twice) and is mapped through the noise window
// and the output range. Computed in blocks so that a wider implementation can serve several
// elements at once; every implementation gives exactly the same bits as the scalar one.
#pragma once

#include <cstdint>

#include "noise.h"

namespace qev {

struct NoiseBlockSettings {
    OctaveSettings octaves;    // passed to every sumOctaves
    double wrappedOffset = 0;  // Offset wrapped into (-997300, 997300)
    double scale = 1;          // step from one element to the next
    double noiseMin = -1;      // already ordered: noiseMin <= noiseMax unless NaN
    double noiseMax = 1;
    double outputMin = 0;
    double outputRange = 1;  // Output Max - Output Min, computed once
};

// values[j] for element first + j, j < count. The scalar reference implementation.
void computeNoiseBlockScalar(const NoiseBlockSettings& settings, const RandomTable& table,
                             int32_t first, int32_t count, double* values);

// Whether this processor runs the AVX2 block (checked once, when the library loads).
bool noiseBlockAvx2Available();

// Four elements at a time with AVX2; only where noiseBlockAvx2Available(). Same bits.
void computeNoiseBlockAvx2(const NoiseBlockSettings& settings, const RandomTable& table,
                           int32_t first, int32_t count, double* values);

// Eight elements at a time with AVX-512; only where avx512Available() (cpu_check.h). Same bits.
void computeNoiseBlockAvx512(const NoiseBlockSettings& settings, const RandomTable& table,
                             int32_t first, int32_t count, double* values);

// The fastest implementation this processor runs; same bits as the scalar one.
void computeNoiseBlock(const NoiseBlockSettings& settings, const RandomTable& table, int32_t first,
                       int32_t count, double* values);

// values[j] for the base position bases[j], j < count, through the octave sum, the noise window
// and the output range as for an element (the settings' offset and scale are not used): the
// single-value module's value before its clamp, for many positions at once. The scalar
// reference, and the fastest implementation this processor runs (same bits).
void computeNoiseAtScalar(const NoiseBlockSettings& settings, const RandomTable& table,
                          const double* bases, int32_t count, double* values);
void computeNoiseAt(const NoiseBlockSettings& settings, const RandomTable& table,
                    const double* bases, int32_t count, double* values);

// The same with AVX2 (where noiseBlockAvx2Available()) and with AVX-512 (where
// avx512Available()), whatever the engine's own choice.
void computeNoiseAtAvx2(const NoiseBlockSettings& settings, const RandomTable& table,
                        const double* bases, int32_t count, double* values);
void computeNoiseAtAvx512(const NoiseBlockSettings& settings, const RandomTable& table,
                          const double* bases, int32_t count, double* values);

// The array module's two outputs of values[j], j < count: the value kept within [low, high]
// (NaN passes; low <= high) as a float, and that value rounded half away from zero as a float
// ((-0.5, 0] gives -0).
void finishElementsScalar(const double* values, int32_t count, double low, double high,
                          float* floats, float* integers);

// The same four at a time with AVX2; only where noiseBlockAvx2Available(). Same bits.
void finishElementsAvx2(const double* values, int32_t count, double low, double high, float* floats,
                        float* integers);

// The fastest implementation this processor runs; same bits as the scalar one.
void finishElements(const double* values, int32_t count, double low, double high, float* floats,
                    float* integers);

}  // namespace qev
