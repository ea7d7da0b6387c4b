// Built with -mavx2 (and without -mfma: no fused multiply-add may appear). Every lane runs the
// scalar block's operations in the scalar block's order; where the scalar code branches per
// element, both sides are prepared and the lane's own side is selected, so each lane still sees
// exactly one chain of roundings, the one the scalar code would take.
#include "noise_block_avx2.h"

#include <immintrin.h>

#include "noise_block.h"

// Everything here is inlined into the kernels' loops (the one cold helper excepted), so the lanes
// stay in registers.
#define QEV_INLINE __attribute__((always_inline)) inline

namespace qev {

namespace {

constexpr int kCellModulus = 9971;
constexpr int kTableSize = 9973;
constexpr double kNarrowLow = -0x1p31;  // positions in [-2^31, 2^31) have 32-bit cells
constexpr double kNarrowHigh = 0x1p31;

struct Lanes {
    __m256d frac;   // position - floor(position); NaN for non-finite positions
    __m256d index;  // the entry index as a whole double
};

// Where an octave's positions lie for the elements at hand: anywhere (each lane is checked), all
// with 32-bit cells, or all with 32-bit cells at or above 0 (no negative-cell shift needed).
enum class CellRange { Any, Narrow, NarrowNonNegative };

// One octave of the sum: where it samples and how its sample is weighed.
struct OctaveStep {
    double offset;    // table[k & 9972]
    double square;    // k * k
    double inverse;   // 1 / (k * k) when k is a power of two (the product is then exact), else 0
    CellRange cells;  // where the positions of the current elements lie
};

QEV_INLINE __m256d select(__m256d mask, __m256d ifTrue, __m256d ifFalse) {
    return _mm256_blendv_pd(ifFalse, ifTrue, mask);
}

// The entry index of cells in [-2^31, 2^31), in double arithmetic that is exact: every
// intermediate is a whole number below 2^53. A negative cell maps through (cell + 9973) rem 9971
// adjusted into [0, 9971), which is the non-negative remainder of cell + 2; a cell at or above 0
// through its remainder. The quotient comes from the double nearest 1/9971, whose relative error
// (below 2^-54) cannot carry the product across a whole number, so floor gives the exact
// quotient, at exact multiples too (checked for every 32-bit cell when this was written).
QEV_INLINE __m256d remainderOfCells(__m256d shifted) {
    const __m256d quotient =
        _mm256_round_pd(_mm256_mul_pd(shifted, _mm256_set1_pd(1.0 / kCellModulus)),
                        _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    return _mm256_sub_pd(shifted, _mm256_mul_pd(quotient, _mm256_set1_pd(kCellModulus)));
}

QEV_INLINE __m256d mapCells(__m256d cell) {
    const __m256d negative = _mm256_cmp_pd(cell, _mm256_setzero_pd(), _CMP_LT_OQ);
    return remainderOfCells(_mm256_add_pd(cell, _mm256_and_pd(negative, _mm256_set1_pd(2.0))));
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

// The 32 bits at element `index` of a table of 16-bit elements: elements index and index + 1.
QEV_INLINE __m128i gatherPairs(const uint16_t* table, __m256d index) {
    return _mm_i32gather_epi32(reinterpret_cast<const int*>(table), _mm256_cvttpd_epi32(index), 2);
}

QEV_INLINE Lanes cellLanes(const NoiseKernelInput& input, __m256d position, CellRange range) {
    Lanes lanes;
    const __m256d cell = _mm256_round_pd(position, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    lanes.frac = _mm256_sub_pd(position, cell);
    if (range == CellRange::NarrowNonNegative) {
        lanes.index = remainderOfCells(cell);
    } else if (range == CellRange::Narrow) {
        lanes.index = mapCells(cell);
    } else {
        const __m256d narrow =
            _mm256_and_pd(_mm256_cmp_pd(position, _mm256_set1_pd(kNarrowLow), _CMP_GE_OQ),
                          _mm256_cmp_pd(position, _mm256_set1_pd(kNarrowHigh), _CMP_LT_OQ));
        // Wide lanes get cell 0 here, so the remainder never sees them.
        lanes.index = mapCells(_mm256_and_pd(narrow, cell));
        const int narrowLanes = _mm256_movemask_pd(narrow);
        if (narrowLanes != 0xF) lanes.index = mapWideCells(input, cell, lanes.index, narrowLanes);
    }
    return lanes;
}

QEV_INLINE __m256d biasCurve(__m256d t, __m256d factor) {
    const __m256d one = _mm256_set1_pd(1.0);
    return _mm256_div_pd(t, _mm256_add_pd(_mm256_mul_pd(factor, _mm256_sub_pd(one, t)), one));
}

// t < 0.5: t / (w + 1); otherwise (NaN included): (w - t) / (w - 1). The numerator and
// denominator are selected, then divided once.
QEV_INLINE __m256d gainCurve(__m256d t, __m256d factor) {
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d w =
        _mm256_mul_pd(_mm256_sub_pd(one, _mm256_mul_pd(t, _mm256_set1_pd(2.0))), factor);
    const __m256d low = _mm256_cmp_pd(t, _mm256_set1_pd(0.5), _CMP_LT_OQ);
    const __m256d numerator = select(low, t, _mm256_sub_pd(w, t));
    const __m256d denominator = select(low, _mm256_add_pd(w, one), _mm256_sub_pd(w, one));
    return _mm256_div_pd(numerator, denominator);
}

// The scaled samples (sample - 0.5) * 2 of lanes whose value is a whole entry: the table holds
// them (the same operations, done once per seed).
QEV_INLINE __m256d wholeScaledSamples(const NoiseKernelInput& input, const Lanes& lanes) {
    return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), input.scaledSamples,
                                    _mm256_cvttpd_epi32(lanes.index),
                                    _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8);
}

// The blend of one vector of lanes, in two halves: the front (the blend zones, the weight before
// the curves and the packed pair) and the back (the curves, the blend, / 9973 and the scaling).
// The start zone (frac < window) blends from the previous entry, the end zone
// (frac > 1 - window) toward the next one; both are (high - low) * t + low with their own t and
// entries, so the zone picks the operands (one 32-bit read of the two neighbouring 16-bit
// entries per lane, diff = high - low being exact) and the arithmetic runs once. Lanes in neither
// zone take the pair toward the next entry at weight +0: diff * 0 + low is their entry. The array
// kernel makes fronts ahead of backs, so that one vector's divisions overlap the gathers and cell
// arithmetic of the next ones.
struct BlendFront {
    Lanes lanes;
    __m256d zone;
    __m256d t;
    __m128i pair;
};

QEV_INLINE BlendFront blendFront(const NoiseKernelInput& input, const Lanes& lanes) {
    BlendFront f;
    f.lanes = lanes;
    const __m256d frac = lanes.frac;
    const __m256d start = _mm256_cmp_pd(frac, _mm256_set1_pd(input.fadeWindow), _CMP_LT_OQ);
    const __m256d end = _mm256_cmp_pd(frac, _mm256_set1_pd(input.windowEnd), _CMP_GT_OQ);
    f.zone = _mm256_or_pd(start, end);
    const __m256d into = select(start, frac, _mm256_sub_pd(frac, _mm256_set1_pd(input.windowEnd)));
    const __m256d scaled = input.fadeByProduct
                               ? _mm256_mul_pd(into, _mm256_set1_pd(input.fadeReciprocal))
                               : _mm256_div_pd(into, _mm256_set1_pd(input.fadeWindow));
    const __m256d half = _mm256_mul_pd(scaled, _mm256_set1_pd(0.5));
    f.t = select(start, _mm256_add_pd(half, _mm256_set1_pd(0.5)), half);
    // Element i of the padded entries is entry i - 1: the start zone reads from there, the end
    // zone one further on.
    const __m256d pairIndex =
        _mm256_add_pd(lanes.index, _mm256_andnot_pd(start, _mm256_set1_pd(1.0)));
    f.pair = gatherPairs(input.paddedEntries, pairIndex);
    return f;
}

QEV_INLINE __m256d blendBack(const NoiseKernelInput& input, const BlendFront& f) {
    if (_mm256_movemask_pd(f.zone) == 0) return wholeScaledSamples(input, f.lanes);
    __m256d t = f.t;
    if (input.shapesBias) t = biasCurve(t, _mm256_set1_pd(input.biasFactor));
    if (input.shapesGain) t = gainCurve(t, _mm256_set1_pd(input.gainFactor));
    t = _mm256_and_pd(f.zone, t);
    const __m128i lowEntry = _mm_and_si128(f.pair, _mm_set1_epi32(0xFFFF));
    const __m256d low = _mm256_cvtepi32_pd(lowEntry);
    const __m256d diff = _mm256_cvtepi32_pd(_mm_sub_epi32(_mm_srli_epi32(f.pair, 16), lowEntry));
    const __m256d sample =
        _mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(diff, t), low), _mm256_set1_pd(kTableSize));
    return _mm256_mul_pd(_mm256_sub_pd(sample, _mm256_set1_pd(0.5)), _mm256_set1_pd(2.0));
}

// The sample of one octave, value / 9973, scaled to (sample - 0.5) * 2.
template <bool kBlends>
QEV_INLINE __m256d scaledSampleLanes(const NoiseKernelInput& input, const Lanes& lanes) {
    if (kBlends) return blendBack(input, blendFront(input, lanes));
    return wholeScaledSamples(input, lanes);
}

// ((sample - 0.5) * 2) / k^2 for the octave of one step: by the exact product when k is a power
// of two (kByInverse), else by the division.
template <bool kBlends, CellRange kRange, bool kByInverse>
QEV_INLINE __m256d sampleOctave(const NoiseKernelInput& input, __m256d offset, __m256d square,
                                __m256d inverse, __m256d base) {
    const __m256d position = _mm256_mul_pd(_mm256_add_pd(offset, base), square);
    const __m256d scaled = scaledSampleLanes<kBlends>(input, cellLanes(input, position, kRange));
    return kByInverse ? _mm256_mul_pd(scaled, inverse) : _mm256_div_pd(scaled, square);
}

// The sums of a block, kept in memory while one octave after the other passes over all of its
// elements: each octave's settings stay in registers and its choices out of the element loop.
struct BlockSums {
    static constexpr int32_t kCapacity = 256;  // elements per call of the kernel at most
    alignas(32) double base[kCapacity];
    alignas(32) double sum[kCapacity];
};

// Adds one octave's contribution to the sum of every element (vectors of four); with kFirst, the
// contribution times the fraction replaces the sum (the fractional octave comes first).
template <bool kBlends, CellRange kRange, bool kByInverse, bool kFirst>
void octaveOverBlock(const NoiseKernelInput& input, const OctaveStep& step, BlockSums& sums,
                     int32_t vectors) {
    const __m256d offset = _mm256_set1_pd(step.offset);
    const __m256d square = _mm256_set1_pd(step.square);
    const __m256d inverse = _mm256_set1_pd(step.inverse);
    const __m256d fraction = _mm256_set1_pd(input.fraction);
    if constexpr (kBlends) {
        // Fronts made two vectors ahead; past the end they repeat the last vector's.
        const int32_t lastV = 4 * vectors - 4;
        const auto frontAt = [&](int32_t v) {
            const __m256d position =
                _mm256_mul_pd(_mm256_add_pd(offset, _mm256_load_pd(sums.base + v)), square);
            return blendFront(input, cellLanes(input, position, kRange));
        };
        BlendFront front = frontAt(0);
        BlendFront second = frontAt(4 <= lastV ? 4 : 0);
        for (int32_t v = 0; v < 4 * vectors; v += 4) {
            const int32_t following = v + 8 <= lastV ? v + 8 : lastV;
            const BlendFront next = second;
            second = frontAt(following);
            const __m256d scaled = blendBack(input, front);
            const __m256d contribution =
                kByInverse ? _mm256_mul_pd(scaled, inverse) : _mm256_div_pd(scaled, square);
            _mm256_store_pd(sums.sum + v,
                            kFirst ? _mm256_mul_pd(contribution, fraction)
                                   : _mm256_add_pd(_mm256_load_pd(sums.sum + v), contribution));
            front = next;
        }
    } else {
        for (int32_t v = 0; v < 4 * vectors; v += 4) {
            const __m256d contribution = sampleOctave<kBlends, kRange, kByInverse>(
                input, offset, square, inverse, _mm256_load_pd(sums.base + v));
            _mm256_store_pd(sums.sum + v,
                            kFirst ? _mm256_mul_pd(contribution, fraction)
                                   : _mm256_add_pd(_mm256_load_pd(sums.sum + v), contribution));
        }
    }
}

template <bool kBlends, bool kFirst>
void octaveOverBlock(const NoiseKernelInput& input, const OctaveStep& step, BlockSums& sums,
                     int32_t vectors) {
    const bool byInverse = step.inverse != 0.0;
    if (step.cells == CellRange::NarrowNonNegative) {
        if (byInverse) {
            octaveOverBlock<kBlends, CellRange::NarrowNonNegative, true, kFirst>(input, step, sums,
                                                                                 vectors);
        } else {
            octaveOverBlock<kBlends, CellRange::NarrowNonNegative, false, kFirst>(input, step, sums,
                                                                                  vectors);
        }
    } else if (step.cells == CellRange::Narrow) {
        if (byInverse) {
            octaveOverBlock<kBlends, CellRange::Narrow, true, kFirst>(input, step, sums, vectors);
        } else {
            octaveOverBlock<kBlends, CellRange::Narrow, false, kFirst>(input, step, sums, vectors);
        }
    } else {
        if (byInverse) {
            octaveOverBlock<kBlends, CellRange::Any, true, kFirst>(input, step, sums, vectors);
        } else {
            octaveOverBlock<kBlends, CellRange::Any, false, kFirst>(input, step, sums, vectors);
        }
    }
}

double basePosition(const NoiseKernelInput& input, int32_t element) {
    const double w = input.wrappedOffset;
    return w + (static_cast<double>(element) + w) * input.scale;
}

// Positions rise or fall monotonically with the base position (adding a constant and scaling by
// a positive square round monotonically), and base positions with the element number; so when
// the octave's positions for the first and the last element have 32-bit cells, all between do.
// NaN fails the test.
CellRange positionRange(double offset, double square, double firstBase, double lastBase) {
    const double a = (offset + firstBase) * square;
    const double b = (offset + lastBase) * square;
    const double low = a < b ? a : b;
    const double high = a < b ? b : a;
    if (!(low >= kNarrowLow && high < kNarrowHigh)) return CellRange::Any;
    return low >= 0.0 ? CellRange::NarrowNonNegative : CellRange::Narrow;
}

OctaveStep octaveStep(const NoiseKernelInput& input, int32_t octave, double firstBase,
                      double lastBase) {
    static constexpr double kInverseSquares[] = {
        0, 1.0, 0.25, 0, 1.0 / 16, 0, 0, 0, 1.0 / 64, 0, 0, 0, 0, 0, 0, 0, 1.0 / 256};
    OctaveStep step;
    step.offset = input.octaveOffsets[16 - octave];  // table[octave & 9972]
    step.square = static_cast<double>(octave * octave);
    step.inverse = kInverseSquares[octave];
    step.cells = positionRange(step.offset, step.square, firstBase, lastBase);
    return step;
}

}  // namespace

namespace {

// k * k for k = 16 down to 1, then 1 for the lanes past octave 1 (see octaveOffsetsFrom).
constexpr double kSquaresDown[19] = {256, 225, 196, 169, 144, 121, 100, 81, 64, 49,
                                     36,  25,  16,  9,   4,   1,   1,   1,  1};

// Step j of the sum samples octave top - j: the fractional octave whole + 1 first when there is
// one, then the whole ones down to 1; four steps to a vector. Lanes past the last step sample
// octave 1 and are not summed.
template <CellRange kRange, bool kBlends>
QEV_INLINE double sumOctaveLanes(const NoiseKernelInput& input, double base, int32_t top,
                                 bool fractional) {
    const double* offsets = input.octaveOffsets + (16 - top);
    const double* squares = kSquaresDown + (16 - top);
    const __m256d b = _mm256_set1_pd(base);
    alignas(32) double contributions[16];
    int32_t first = 0;
    do {  // top >= 1
        const __m256d square = _mm256_loadu_pd(squares + first);
        const __m256d position =
            _mm256_mul_pd(_mm256_add_pd(_mm256_loadu_pd(offsets + first), b), square);
        const __m256d scaled =
            scaledSampleLanes<kBlends>(input, cellLanes(input, position, kRange));
        // Dividing by a power-of-two square gives the bits of the scalar sum's exact product.
        _mm256_store_pd(contributions + first, _mm256_div_pd(scaled, square));
        first += 4;
    } while (first < top);
    // The additions in the scalar sum's order.
    double sum = fractional ? contributions[0] * input.fraction : 0.0 + contributions[0];
    for (int32_t step = 1; step < top; ++step) sum = sum + contributions[step];
    return sum;
}

template <bool kBlends>
QEV_INLINE double sumOctaveLanes(const NoiseKernelInput& input, double base, int32_t top,
                                 bool fractional) {
    // Offsets are entries in [0, 9973] and squares at most 256, so a base in this range puts
    // every octave's position in a 32-bit cell; at or above 0, in a cell at or above 0.
    constexpr double kNarrowBase = 0x1p31 / 256 - 9974;
    if (base >= 0.0 && base < kNarrowBase)
        return sumOctaveLanes<CellRange::NarrowNonNegative, kBlends>(input, base, top, fractional);
    if (base > -kNarrowBase && base < kNarrowBase)
        return sumOctaveLanes<CellRange::Narrow, kBlends>(input, base, top, fractional);
    return sumOctaveLanes<CellRange::Any, kBlends>(input, base, top, fractional);
}

}  // namespace

void sumOctavesAvx2Kernel(const NoiseKernelInput& input, double base, double* sum) {
    const bool fractional = input.fraction != 0.0;
    const int32_t top = input.wholeOctaves + (fractional ? 1 : 0);
    if (top == 0) {
        *sum = 0.0;
    } else {
        *sum = input.blends ? sumOctaveLanes<true>(input, base, top, fractional)
                            : sumOctaveLanes<false>(input, base, top, fractional);
    }
}

namespace {

// The block, octave by octave over all elements, with the blend decided at compile time so that
// a block without it carries none of its code; then the noise window and the output range.
// With `bases`, element j sits at bases[j] instead.
template <bool kBlends>
void noiseBlock(const NoiseKernelInput& input, const OctaveStep* steps, int32_t stepCount,
                int32_t first, const double* bases, int32_t count, double* values) {
    BlockSums sums;
    const int32_t vectors = (count + 3) / 4;
    const __m256d w = _mm256_set1_pd(input.wrappedOffset);
    const __m256d scale = _mm256_set1_pd(input.scale);
    for (int32_t j = 0; bases && j < 4 * vectors; ++j) {
        sums.base[j] = bases[j < count ? j : count - 1];
        sums.sum[j] = 0.0;
    }
    for (int32_t j = 0; !bases && j < 4 * vectors; j += 4) {
        // Past the end, lanes repeat the last element; their results are not stored.
        const __m128i elements = _mm_add_epi32(
            _mm_set1_epi32(first),
            _mm_min_epi32(_mm_add_epi32(_mm_set1_epi32(j), _mm_setr_epi32(0, 1, 2, 3)),
                          _mm_set1_epi32(count - 1)));
        const __m256d index = _mm256_cvtepi32_pd(elements);
        _mm256_store_pd(sums.base + j,
                        _mm256_add_pd(w, _mm256_mul_pd(_mm256_add_pd(index, w), scale)));
        _mm256_store_pd(sums.sum + j, _mm256_setzero_pd());
    }
    // The fractional octave, when there is one, is the first step and is weighed first.
    int32_t k = 0;
    if (input.fraction != 0.0 && stepCount > 0) {
        octaveOverBlock<kBlends, true>(input, steps[0], sums, vectors);
        k = 1;
    }
    for (; k < stepCount; ++k) octaveOverBlock<kBlends, false>(input, steps[k], sums, vectors);

    // Below the window 0, at or above it 1, else the position within it.
    const __m256d lo = _mm256_set1_pd(input.noiseLow);
    const __m256d hi = _mm256_set1_pd(input.noiseHigh);
    for (int32_t j = 0; j < count; j += 4) {
        const __m256d sum = _mm256_load_pd(sums.sum + j);
        __m256d t = _mm256_div_pd(_mm256_sub_pd(sum, lo), _mm256_sub_pd(hi, lo));
        t = select(_mm256_cmp_pd(sum, hi, _CMP_GE_OQ), _mm256_set1_pd(1.0), t);
        t = select(_mm256_cmp_pd(lo, sum, _CMP_GT_OQ), _mm256_setzero_pd(), t);
        const __m256d result = _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(input.outputRange), t),
                                             _mm256_set1_pd(input.outputMin));
        if (count - j >= 4) {
            _mm256_storeu_pd(values + j, result);
        } else {
            alignas(32) double lanes[4];
            _mm256_store_pd(lanes, result);
            for (int32_t i = 0; j + i < count; ++i) values[j + i] = lanes[i];
        }
    }
}

}  // namespace

void computeNoiseBlockAvx2Kernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                                 double* values) {
    // Longer blocks go in parts the size of the kernel's own sums.
    while (count > BlockSums::kCapacity) {
        computeNoiseBlockAvx2Kernel(input, first, BlockSums::kCapacity, values);
        first += BlockSums::kCapacity;
        count -= BlockSums::kCapacity;
        values += BlockSums::kCapacity;
    }
    // The octaves in the order they are summed: the fractional one first, then whole ones down.
    const double firstBase = basePosition(input, first);
    const double lastBase = basePosition(input, first + count - 1);
    OctaveStep steps[17];
    int32_t stepCount = 0;
    if (input.fraction != 0.0)
        steps[stepCount++] = octaveStep(input, input.wholeOctaves + 1, firstBase, lastBase);
    for (int32_t octave = input.wholeOctaves; octave >= 1; --octave)
        steps[stepCount++] = octaveStep(input, octave, firstBase, lastBase);
    if (input.blends) {
        noiseBlock<true>(input, steps, stepCount, first, nullptr, count, values);
    } else {
        noiseBlock<false>(input, steps, stepCount, first, nullptr, count, values);
    }
}

void computeNoiseAtAvx2Kernel(const NoiseKernelInput& input, const double* bases, int32_t count,
                              double* values) {
    while (count > BlockSums::kCapacity) {
        computeNoiseAtAvx2Kernel(input, bases, BlockSums::kCapacity, values);
        bases += BlockSums::kCapacity;
        count -= BlockSums::kCapacity;
        values += BlockSums::kCapacity;
    }
    if (count <= 0) return;
    // Positions follow the base monotonically, so the lowest and highest base bound every
    // octave's positions; a NaN base makes the range fail its test (any cells).
    double lowBase = bases[0], highBase = bases[0];
    for (int32_t j = 1; j < count && lowBase == lowBase; ++j) {
        const double b = bases[j];
        if (b != b) lowBase = highBase = b;
        if (b < lowBase) lowBase = b;
        if (b > highBase) highBase = b;
    }
    OctaveStep steps[17];
    int32_t stepCount = 0;
    if (input.fraction != 0.0)
        steps[stepCount++] = octaveStep(input, input.wholeOctaves + 1, lowBase, highBase);
    for (int32_t octave = input.wholeOctaves; octave >= 1; --octave)
        steps[stepCount++] = octaveStep(input, octave, lowBase, highBase);
    if (input.blends) {
        noiseBlock<true>(input, steps, stepCount, 0, bases, count, values);
    } else {
        noiseBlock<false>(input, steps, stepCount, 0, bases, count, values);
    }
}

void finishElementsAvx2Kernel(const double* values, int32_t count, double low, double high,
                              float* floats, float* integers) {
    const __m256d lo = _mm256_set1_pd(low);
    const __m256d hi = _mm256_set1_pd(high);
    const __m256d half = _mm256_set1_pd(0.5);
    const __m256d signBit = _mm256_set1_pd(-0.0);
    int32_t j = 0;
    for (; j + 4 <= count; j += 4) {
        __m256d value = _mm256_loadu_pd(values + j);
        // Below low, low; else above high, high; else (NaN included) the value itself.
        value = select(_mm256_cmp_pd(value, lo, _CMP_LT_OQ), lo,
                       select(_mm256_cmp_pd(value, hi, _CMP_GT_OQ), hi, value));
        const __m256d up =
            _mm256_round_pd(_mm256_add_pd(value, half), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        const __m256d down =
            _mm256_round_pd(_mm256_sub_pd(value, half), _MM_FROUND_TO_POS_INF | _MM_FROUND_NO_EXC);
        const __m256d above = _mm256_cmp_pd(value, _mm256_setzero_pd(), _CMP_GT_OQ);
        // Below one half in magnitude a zero of the side taken (+0 above zero, else -0): the
        // double just under one half would reach 1 through value + 0.5.
        const __m256d small = _mm256_cmp_pd(_mm256_andnot_pd(signBit, value), half, _CMP_LT_OQ);
        const __m256d rounded =
            select(small, _mm256_andnot_pd(above, signBit), select(above, up, down));
        _mm_storeu_ps(floats + j, _mm256_cvtpd_ps(value));
        _mm_storeu_ps(integers + j, _mm256_cvtpd_ps(rounded));
    }
    // The last few as the scalar code does them, which is the reference.
    finishElementsScalar(values + j, count - j, low, high, floats + j, integers + j);
}

}  // namespace qev
