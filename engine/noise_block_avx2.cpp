// Built with -mavx2 (and without -mfma: no fused multiply-add may appear). Every lane runs the
// scalar block's operations in the scalar block's order; where the scalar code branches per
// element, both sides are prepared and the lane's own side is selected, so each lane still sees
// exactly one chain of roundings, the one the scalar code would take.
#include "noise_block_avx2.h"

#include <immintrin.h>

namespace qev {

namespace {

constexpr int kCellModulus = 9971;
constexpr int kTableSize = 9973;
constexpr int kEntryBeforeFirst = kCellModulus - 1;
constexpr int kOctaveOffsetMask = 9972;

struct Lanes {
    __m256d value;  // the cell's entry, then the blended value
    __m256d frac;   // position - floor(position); NaN for non-finite positions
    __m256d index;  // the entry index as a whole double
};

__m256d select(__m256d mask, __m256d ifTrue, __m256d ifFalse) {
    return _mm256_blendv_pd(ifFalse, ifTrue, mask);
}

// The truncating remainder by 9971 and the shift of negative cells, for cells in
// [-2^31, 2^31): exact in double, since every intermediate is a whole number below 2^53. The
// quotient comes from the double nearest 1/9971: between multiples the product is off by far less
// than the 1/9971 that separates it from a whole number, so truncation gives the exact quotient.
// At exact multiples it could at worst come out one short; the remainder would then be +-9971,
// which the last step maps to the same index as 0 (a test runs every multiple in range).
__m256d mapCells(__m256d cell) {
    const __m256d modulus = _mm256_set1_pd(kCellModulus);
    const __m256d quotient =
        _mm256_round_pd(_mm256_mul_pd(cell, _mm256_set1_pd(1.0 / kCellModulus)),
                        _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    __m256d r = _mm256_sub_pd(cell, _mm256_mul_pd(quotient, modulus));
    // Negative cells: + 9973, then - 9971 when that reaches 9971.
    const __m256d negative = _mm256_cmp_pd(cell, _mm256_setzero_pd(), _CMP_LT_OQ);
    r = _mm256_add_pd(r, _mm256_and_pd(negative, _mm256_set1_pd(kTableSize)));
    return _mm256_sub_pd(r, _mm256_and_pd(_mm256_cmp_pd(r, modulus, _CMP_GE_OQ), modulus));
}

// Lanes whose cell a 32-bit integer does not hold: the general mapping for finite positions,
// entry 0 for NaN and infinities (whose NaN frac keeps them out of both blend zones).
__attribute__((noinline)) __m256d mapWideCells(const NoiseKernelInput& input, __m256d cell,
                                               __m256d index, int narrowLanes) {
    alignas(32) double cells[4];
    alignas(32) double indices[4];
    _mm256_store_pd(cells, cell);
    _mm256_store_pd(indices, index);
    for (int lane = 0; lane < 4; ++lane) {
        if (narrowLanes & (1 << lane)) continue;
        const double c = cells[lane];
        const bool finite = c - c == 0.0;
        indices[lane] = finite ? static_cast<double>(input.wideCellIndex(c)) : 0.0;
    }
    return _mm256_load_pd(indices);
}

__m256d gatherEntries(const int32_t* entries, __m256d index) {
    const __m128i lanes = _mm256_cvttpd_epi32(index);
    return _mm256_cvtepi32_pd(_mm_i32gather_epi32(entries, lanes, 4));
}

Lanes cellLanes(const NoiseKernelInput& input, __m256d position) {
    Lanes lanes;
    const __m256d cell = _mm256_round_pd(position, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    lanes.frac = _mm256_sub_pd(position, cell);
    const __m256d narrow =
        _mm256_and_pd(_mm256_cmp_pd(position, _mm256_set1_pd(-0x1p31), _CMP_GE_OQ),
                      _mm256_cmp_pd(position, _mm256_set1_pd(0x1p31), _CMP_LT_OQ));
    // Wide lanes get index 0 here, so the remainder never sees them.
    lanes.index = mapCells(_mm256_and_pd(narrow, cell));
    const int narrowLanes = _mm256_movemask_pd(narrow);
    if (narrowLanes != 0xF) lanes.index = mapWideCells(input, cell, lanes.index, narrowLanes);
    lanes.value = gatherEntries(input.entries, lanes.index);
    return lanes;
}

__m256d biasCurve(__m256d t, __m256d factor) {
    const __m256d one = _mm256_set1_pd(1.0);
    return _mm256_div_pd(t, _mm256_add_pd(_mm256_mul_pd(factor, _mm256_sub_pd(one, t)), one));
}

// t < 0.5: t / (w + 1); otherwise (NaN included): (w - t) / (w - 1). The numerator and
// denominator are selected, then divided once.
__m256d gainCurve(__m256d t, __m256d factor) {
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d w =
        _mm256_mul_pd(_mm256_sub_pd(one, _mm256_mul_pd(t, _mm256_set1_pd(2.0))), factor);
    const __m256d low = _mm256_cmp_pd(t, _mm256_set1_pd(0.5), _CMP_LT_OQ);
    const __m256d numerator = select(low, t, _mm256_sub_pd(w, t));
    const __m256d denominator = select(low, _mm256_add_pd(w, one), _mm256_sub_pd(w, one));
    return _mm256_div_pd(numerator, denominator);
}

// The start zone (frac < window) blends from the previous entry, the end zone
// (frac > 1 - window) toward the next one; both are (high - low) * t + low with their own t,
// high and low, so the zone picks the operands and the arithmetic runs once.
__m256d blendLanes(const NoiseKernelInput& input, const Lanes& lanes) {
    const __m256d start = _mm256_cmp_pd(lanes.frac, _mm256_set1_pd(input.fadeWindow), _CMP_LT_OQ);
    const __m256d windowEnd = _mm256_set1_pd(input.windowEnd);
    const __m256d end = _mm256_cmp_pd(lanes.frac, windowEnd, _CMP_GT_OQ);
    const __m256d zone = _mm256_or_pd(start, end);
    if (_mm256_movemask_pd(zone) == 0) return lanes.value;

    const __m256d into = select(start, lanes.frac, _mm256_sub_pd(lanes.frac, windowEnd));
    const __m256d scaled = input.fadeByProduct
                               ? _mm256_mul_pd(into, _mm256_set1_pd(input.fadeReciprocal))
                               : _mm256_div_pd(into, _mm256_set1_pd(input.fadeWindow));
    const __m256d half = _mm256_mul_pd(scaled, _mm256_set1_pd(0.5));
    __m256d t = select(start, _mm256_add_pd(half, _mm256_set1_pd(0.5)), half);
    if (input.shapesBias) t = biasCurve(t, _mm256_set1_pd(input.biasFactor));
    if (input.shapesGain) t = gainCurve(t, _mm256_set1_pd(input.gainFactor));

    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d previous =
        select(_mm256_cmp_pd(lanes.index, _mm256_setzero_pd(), _CMP_GT_OQ),
               _mm256_sub_pd(lanes.index, one), _mm256_set1_pd(kEntryBeforeFirst));
    const __m256d next = _mm256_add_pd(lanes.index, one);
    const __m256d neighbour = gatherEntries(input.entries, select(start, previous, next));
    const __m256d high = select(start, lanes.value, neighbour);
    const __m256d low = select(start, neighbour, lanes.value);
    const __m256d blended = _mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(high, low), t), low);
    return select(zone, blended, lanes.value);
}

// ((sample - 0.5) * 2) / k^2, the squares of powers of two by their exact reciprocal.
__m256d octaveContribution(__m256d sample, int32_t octave) {
    const __m256d scaled =
        _mm256_mul_pd(_mm256_sub_pd(sample, _mm256_set1_pd(0.5)), _mm256_set1_pd(2.0));
    const double square = static_cast<double>(octave * octave);
    if ((octave & (octave - 1)) == 0) return _mm256_mul_pd(scaled, _mm256_set1_pd(1.0 / square));
    return _mm256_div_pd(scaled, _mm256_set1_pd(square));
}

__m256d sampleOctave(const NoiseKernelInput& input, __m256d base, int32_t octave) {
    const double offset = input.entries[octave & kOctaveOffsetMask];
    const __m256d position = _mm256_mul_pd(_mm256_add_pd(_mm256_set1_pd(offset), base),
                                           _mm256_set1_pd(static_cast<double>(octave * octave)));
    const Lanes lanes = cellLanes(input, position);
    const __m256d value = input.blends ? blendLanes(input, lanes) : lanes.value;
    return octaveContribution(_mm256_div_pd(value, _mm256_set1_pd(kTableSize)), octave);
}

__m256d noiseLanes(const NoiseKernelInput& input, __m256d base) {
    __m256d sum = _mm256_setzero_pd();
    if (input.fraction != 0.0) {
        sum = _mm256_mul_pd(sampleOctave(input, base, input.wholeOctaves + 1),
                            _mm256_set1_pd(input.fraction));
    }
    for (int32_t octave = input.wholeOctaves; octave >= 1; --octave)
        sum = _mm256_add_pd(sum, sampleOctave(input, base, octave));

    // Below the window 0, at or above it 1, else the position within it.
    const __m256d lo = _mm256_set1_pd(input.noiseLow);
    const __m256d hi = _mm256_set1_pd(input.noiseHigh);
    __m256d t = _mm256_div_pd(_mm256_sub_pd(sum, lo), _mm256_sub_pd(hi, lo));
    t = select(_mm256_cmp_pd(sum, hi, _CMP_GE_OQ), _mm256_set1_pd(1.0), t);
    t = select(_mm256_cmp_pd(lo, sum, _CMP_GT_OQ), _mm256_setzero_pd(), t);
    return _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(input.outputRange), t),
                         _mm256_set1_pd(input.outputMin));
}

}  // namespace

void computeNoiseBlockAvx2Kernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                                 double* values) {
    const __m256d w = _mm256_set1_pd(input.wrappedOffset);
    const __m256d scale = _mm256_set1_pd(input.scale);
    for (int32_t j = 0; j < count; j += 4) {
        // Past the end, lanes repeat the last element; their results are not stored.
        const int32_t last = count - 1;
        const __m128i elements = _mm_add_epi32(
            _mm_set1_epi32(first),
            _mm_min_epi32(_mm_add_epi32(_mm_set1_epi32(j), _mm_setr_epi32(0, 1, 2, 3)),
                          _mm_set1_epi32(last)));
        const __m256d index = _mm256_cvtepi32_pd(elements);
        const __m256d base = _mm256_add_pd(w, _mm256_mul_pd(_mm256_add_pd(index, w), scale));
        const __m256d result = noiseLanes(input, base);
        if (count - j >= 4) {
            _mm256_storeu_pd(values + j, result);
        } else {
            alignas(32) double lanes[4];
            _mm256_store_pd(lanes, result);
            for (int32_t k = 0; j + k < count; ++k) values[j + k] = lanes[k];
        }
    }
}

}  // namespace qev
