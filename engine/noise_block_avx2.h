// The vector kernels of the octave sum: with AVX2 a noise block four elements at a time, one
// value four octaves at a time, and the array module's outputs of a block four at a time; with
// AVX-512 a noise block eight elements at a time. Their translation units are built for those
// instructions, so they see plain values only (no shared inline code that the linker might take
// from them for processors without the instructions); the engine calls them only after the CPU
// check.
#pragma once

#include <cstdint>

namespace qev {

// Everything the kernel needs, worked out by the caller in baseline code.
struct NoiseKernelInput {
    const uint16_t* paddedEntries;          // RandomTable::paddedEntries()
    const double* scaledSamples;            // ((entry / 9973) - 0.5) * 2 for every entry
    const double* octaveOffsets;            // RandomTable::octaveOffsetsFrom(16)
    int32_t (*wideCellIndex)(double cell);  // the mapping for cells beyond 32 bits

    int32_t wholeOctaves;  // 0 ... 16
    double fraction;       // weight of octave wholeOctaves + 1, when not 0

    bool blends;            // fade window > 0
    double fadeWindow;      // start zone: frac < fadeWindow
    double windowEnd;       // end zone: frac > 1 - fadeWindow
    bool fadeByProduct;     // the window is a power of two: divide as a product instead
    double fadeReciprocal;  // 1 / fadeWindow
    bool shapesBias;        // bias != 0.5
    double biasFactor;      // 1 / bias - 2
    bool shapesGain;        // gain != 0.5
    double gainFactor;      // 1 / gain - 2

    double wrappedOffset;
    double scale;
    double noiseLow;  // the noise window, ordered as the octave sum's normalisation orders it
    double noiseHigh;
    double outputMin;
    double outputRange;
};

// The octave sum of one base position, four octaves at a time: the same bits as the scalar sum.
// Uses the table and octave fields of input only. The sum is stored, not returned: a 32-bit
// caller would otherwise receive it through the x87 stack.
void sumOctavesAvx2Kernel(const NoiseKernelInput& input, double base, double* sum);

// values[j] for element first + j, j < count: the same bits as the scalar block.
void computeNoiseBlockAvx2Kernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                                 double* values);

// values[j] for the base position bases[j], j < count: the same bits as the scalar
// computeNoiseAtScalar (noise_block.h).
void computeNoiseAtAvx2Kernel(const NoiseKernelInput& input, const double* bases, int32_t count,
                              double* values);

// The block kernels above eight elements at a time with AVX-512 (F, DQ and VL): the same bits.
void computeNoiseBlockAvx512Kernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                                   double* values);
void computeNoiseAtAvx512Kernel(const NoiseKernelInput& input, const double* bases, int32_t count,
                                double* values);

// finishElements (noise_block.h) four at a time: the same bits as the scalar version.
void finishElementsAvx2Kernel(const double* values, int32_t count, double low, double high,
                              float* floats, float* integers);

}  // namespace qev
