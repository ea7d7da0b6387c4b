// The noise block kernels written once over a lane type V that wraps one vector width: the AVX2
// file instantiates them four doubles wide, the AVX-512 file eight wide. Each includes this
// header from a translation unit built for its own instructions, so everything here has internal
// linkage (an anonymous namespace): no inline copy that the linker could hand to baseline code.
//
// Every lane runs the scalar block's operations in the scalar block's order; where the scalar
// code branches per element, both sides are prepared and the lane's own side is selected, so each
// lane still sees exactly one chain of roundings, the one the scalar code would take.
//
// V provides: kWidth, kAllLanes (the mask bits of all lanes), the types D (doubles), M (a lane
// mask) and I (one 32-bit integer per lane), and the operations used below, each one instruction
// or a short fixed sequence of the same rounding.
#pragma once

#include <cstdint>

#include "noise_block_avx2.h"

// Everything here is inlined into the kernels' loops (the one cold helper excepted), so the lanes
// stay in registers.
#define QEV_INLINE __attribute__((always_inline)) inline

namespace qev {
namespace {

constexpr int kCellModulus = 9971;
constexpr int kTableSize = 9973;
constexpr double kNarrowLow = -0x1p31;  // positions in [-2^31, 2^31) have 32-bit cells
constexpr double kNarrowHigh = 0x1p31;

template <class V>
struct Lanes {
    typename V::D frac;   // position - floor(position); NaN for non-finite positions
    typename V::D index;  // the entry index as a whole double
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

// The entry index of cells in [-2^31, 2^31), in double arithmetic that is exact: every
// intermediate is a whole number below 2^53. A negative cell maps through (cell + 9973) rem 9971
// adjusted into [0, 9971), which is the non-negative remainder of cell + 2; a cell at or above 0
// through its remainder. The quotient comes from the double nearest 1/9971, whose relative error
// (below 2^-54) cannot carry the product across a whole number, so floor gives the exact
// quotient, at exact multiples too (checked for every 32-bit cell when this was written).
template <class V>
QEV_INLINE typename V::D remainderOfCells(typename V::D shifted) {
    const typename V::D quotient = V::floor(V::mul(shifted, V::set1(1.0 / kCellModulus)));
    return V::sub(shifted, V::mul(quotient, V::set1(kCellModulus)));
}

template <class V>
QEV_INLINE typename V::D mapCells(typename V::D cell) {
    const typename V::M negative = V::lt(cell, V::zero());
    return remainderOfCells<V>(V::add(cell, V::onlyWhere(negative, V::set1(2.0))));
}

// Lanes whose cell a 32-bit integer does not hold: the general mapping for finite positions,
// entry 0 for NaN and infinities (whose NaN frac keeps them out of both blend zones).
template <class V>
__attribute__((noinline)) typename V::D mapWideCells(const NoiseKernelInput& input,
                                                     typename V::D cell, typename V::D index,
                                                     int narrowLanes) {
    alignas(64) double cells[V::kWidth];
    alignas(64) double indices[V::kWidth];
    V::store(cells, cell);
    V::store(indices, index);
    for (int lane = 0; lane < V::kWidth; ++lane) {
        if (narrowLanes & (1 << lane)) continue;
        const double c = cells[lane];
        const bool finite = c - c == 0.0;
        indices[lane] = finite ? static_cast<double>(input.wideCellIndex(c)) : 0.0;
    }
    return V::load(indices);
}

template <class V>
QEV_INLINE Lanes<V> cellLanes(const NoiseKernelInput& input, typename V::D position,
                              CellRange range) {
    Lanes<V> lanes;
    const typename V::D cell = V::floor(position);
    lanes.frac = V::sub(position, cell);
    if (range == CellRange::NarrowNonNegative) {
        lanes.index = remainderOfCells<V>(cell);
    } else if (range == CellRange::Narrow) {
        lanes.index = mapCells<V>(cell);
    } else {
        const typename V::M narrow =
            V::both(V::ge(position, V::set1(kNarrowLow)), V::lt(position, V::set1(kNarrowHigh)));
        // Wide lanes get cell 0 here, so the remainder never sees them.
        lanes.index = mapCells<V>(V::onlyWhere(narrow, cell));
        const int narrowLanes = V::bits(narrow);
        if (narrowLanes != V::kAllLanes)
            lanes.index = mapWideCells<V>(input, cell, lanes.index, narrowLanes);
    }
    return lanes;
}

template <class V>
QEV_INLINE typename V::D biasCurve(typename V::D t, typename V::D factor) {
    const typename V::D one = V::set1(1.0);
    return V::div(t, V::add(V::mul(factor, V::sub(one, t)), one));
}

// t < 0.5: t / (w + 1); otherwise (NaN included): (w - t) / (w - 1). The numerator and
// denominator are selected, then divided once.
template <class V>
QEV_INLINE typename V::D gainCurve(typename V::D t, typename V::D factor) {
    const typename V::D one = V::set1(1.0);
    const typename V::D w = V::mul(V::sub(one, V::mul(t, V::set1(2.0))), factor);
    const typename V::M low = V::lt(t, V::set1(0.5));
    const typename V::D numerator = V::select(low, t, V::sub(w, t));
    const typename V::D denominator = V::select(low, V::add(w, one), V::sub(w, one));
    return V::div(numerator, denominator);
}

// The scaled samples (sample - 0.5) * 2 of lanes whose value is a whole entry: the table holds
// them (the same operations, done once per seed).
template <class V>
QEV_INLINE typename V::D wholeScaledSamples(const NoiseKernelInput& input, const Lanes<V>& lanes) {
    return V::gatherDoubles(input.scaledSamples, V::truncate(lanes.index));
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
template <class V>
struct BlendFront {
    Lanes<V> lanes;
    typename V::M zone;
    typename V::D t;
    typename V::I pair;
};

template <class V>
QEV_INLINE BlendFront<V> blendFront(const NoiseKernelInput& input, const Lanes<V>& lanes) {
    BlendFront<V> f;
    f.lanes = lanes;
    const typename V::D frac = lanes.frac;
    const typename V::M start = V::lt(frac, V::set1(input.fadeWindow));
    const typename V::M end = V::gt(frac, V::set1(input.windowEnd));
    f.zone = V::either(start, end);
    const typename V::D into = V::select(start, frac, V::sub(frac, V::set1(input.windowEnd)));
    const typename V::D scaled = input.fadeByProduct ? V::mul(into, V::set1(input.fadeReciprocal))
                                                     : V::div(into, V::set1(input.fadeWindow));
    const typename V::D half = V::mul(scaled, V::set1(0.5));
    f.t = V::select(start, V::add(half, V::set1(0.5)), half);
    // Element i of the padded entries is entry i - 1: the start zone reads from there, the end
    // zone one further on.
    const typename V::D pairIndex = V::add(lanes.index, V::unless(start, V::set1(1.0)));
    f.pair = V::gatherPairs(input.paddedEntries, V::truncate(pairIndex));
    return f;
}

template <class V>
QEV_INLINE typename V::D blendBack(const NoiseKernelInput& input, const BlendFront<V>& f) {
    if (V::bits(f.zone) == 0) return wholeScaledSamples<V>(input, f.lanes);
    typename V::D t = f.t;
    if (input.shapesBias) t = biasCurve<V>(t, V::set1(input.biasFactor));
    if (input.shapesGain) t = gainCurve<V>(t, V::set1(input.gainFactor));
    t = V::onlyWhere(f.zone, t);
    const typename V::I lowEntry = V::lowHalves(f.pair);
    const typename V::D low = V::toDouble(lowEntry);
    const typename V::D diff = V::toDouble(V::isub(V::highHalves(f.pair), lowEntry));
    const typename V::D sample = V::div(V::add(V::mul(diff, t), low), V::set1(kTableSize));
    return V::mul(V::sub(sample, V::set1(0.5)), V::set1(2.0));
}

// The sample of one octave, value / 9973, scaled to (sample - 0.5) * 2.
template <class V, bool kBlends>
QEV_INLINE typename V::D scaledSampleLanes(const NoiseKernelInput& input, const Lanes<V>& lanes) {
    if (kBlends) return blendBack<V>(input, blendFront<V>(input, lanes));
    return wholeScaledSamples<V>(input, lanes);
}

// The sums of a block, kept in memory while one octave after the other passes over all of its
// elements: each octave's settings stay in registers and its choices out of the element loop.
struct BlockSums {
    static constexpr int32_t kCapacity = 256;  // elements per call of the kernel at most
    alignas(64) double base[kCapacity];
    alignas(64) double sum[kCapacity];
};

// Adds one octave's contribution to the sum of every element (whole vectors); with kFirst, the
// contribution times the fraction replaces the sum (the fractional octave comes first).
template <class V, bool kBlends, CellRange kRange, bool kByInverse, bool kFirst>
void octaveOverBlock(const NoiseKernelInput& input, const OctaveStep& step, BlockSums& sums,
                     int32_t vectors) {
    using D = typename V::D;
    constexpr int32_t kWidth = V::kWidth;
    const D offset = V::set1(step.offset);
    const D square = V::set1(step.square);
    const D inverse = V::set1(step.inverse);
    const D fraction = V::set1(input.fraction);
    const auto weigh = [&](D scaled) {
        return kByInverse ? V::mul(scaled, inverse) : V::div(scaled, square);
    };
    const auto add = [&](int32_t v, D contribution) {
        V::store(sums.sum + v, kFirst ? V::mul(contribution, fraction)
                                      : V::add(V::load(sums.sum + v), contribution));
    };
    const auto lanesAt = [&](int32_t v) {
        const D position = V::mul(V::add(offset, V::load(sums.base + v)), square);
        return cellLanes<V>(input, position, kRange);
    };
    if constexpr (kBlends) {
        // Fronts made two vectors ahead; past the end they repeat the last vector's.
        const int32_t lastV = kWidth * vectors - kWidth;
        const auto frontAt = [&](int32_t v) { return blendFront<V>(input, lanesAt(v)); };
        BlendFront<V> front = frontAt(0);
        BlendFront<V> second = frontAt(kWidth <= lastV ? kWidth : 0);
        for (int32_t v = 0; v < kWidth * vectors; v += kWidth) {
            const int32_t following = v + 2 * kWidth <= lastV ? v + 2 * kWidth : lastV;
            const BlendFront<V> next = second;
            second = frontAt(following);
            add(v, weigh(blendBack<V>(input, front)));
            front = next;
        }
    } else {
        for (int32_t v = 0; v < kWidth * vectors; v += kWidth)
            add(v, weigh(wholeScaledSamples<V>(input, lanesAt(v))));
    }
}

template <class V, bool kBlends, bool kFirst>
void octaveOverBlock(const NoiseKernelInput& input, const OctaveStep& step, BlockSums& sums,
                     int32_t vectors) {
    const bool byInverse = step.inverse != 0.0;
    if (step.cells == CellRange::NarrowNonNegative) {
        if (byInverse) {
            octaveOverBlock<V, kBlends, CellRange::NarrowNonNegative, true, kFirst>(input, step,
                                                                                    sums, vectors);
        } else {
            octaveOverBlock<V, kBlends, CellRange::NarrowNonNegative, false, kFirst>(input, step,
                                                                                     sums, vectors);
        }
    } else if (step.cells == CellRange::Narrow) {
        if (byInverse) {
            octaveOverBlock<V, kBlends, CellRange::Narrow, true, kFirst>(input, step, sums,
                                                                         vectors);
        } else {
            octaveOverBlock<V, kBlends, CellRange::Narrow, false, kFirst>(input, step, sums,
                                                                          vectors);
        }
    } else {
        if (byInverse) {
            octaveOverBlock<V, kBlends, CellRange::Any, true, kFirst>(input, step, sums, vectors);
        } else {
            octaveOverBlock<V, kBlends, CellRange::Any, false, kFirst>(input, step, sums, vectors);
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

// The octaves in the order they are summed, the fractional one first, then whole ones down; with
// the positions of every element between the bases lowBase and highBase in mind.
int32_t octaveSteps(const NoiseKernelInput& input, double lowBase, double highBase,
                    OctaveStep* steps) {
    int32_t stepCount = 0;
    if (input.fraction != 0.0)
        steps[stepCount++] = octaveStep(input, input.wholeOctaves + 1, lowBase, highBase);
    for (int32_t octave = input.wholeOctaves; octave >= 1; --octave)
        steps[stepCount++] = octaveStep(input, octave, lowBase, highBase);
    return stepCount;
}

// The block, octave by octave over all elements, with the blend decided at compile time so that
// a block without it carries none of its code; then the noise window and the output range.
// With `bases`, element j sits at bases[j] instead.
template <class V, bool kBlends>
void noiseBlock(const NoiseKernelInput& input, const OctaveStep* steps, int32_t stepCount,
                int32_t first, const double* bases, int32_t count, double* values) {
    using D = typename V::D;
    constexpr int32_t kWidth = V::kWidth;
    BlockSums sums;
    const int32_t vectors = (count + kWidth - 1) / kWidth;
    const D w = V::set1(input.wrappedOffset);
    const D scale = V::set1(input.scale);
    for (int32_t j = 0; bases && j < kWidth * vectors; ++j) {
        sums.base[j] = bases[j < count ? j : count - 1];
        sums.sum[j] = 0.0;
    }
    for (int32_t j = 0; !bases && j < kWidth * vectors; j += kWidth) {
        // Past the end, lanes repeat the last element; their results are not stored.
        const D index = V::elements(first, j, count - 1);
        V::store(sums.base + j, V::add(w, V::mul(V::add(index, w), scale)));
        V::store(sums.sum + j, V::zero());
    }
    // The fractional octave, when there is one, is the first step and is weighed first.
    int32_t k = 0;
    if (input.fraction != 0.0 && stepCount > 0) {
        octaveOverBlock<V, kBlends, true>(input, steps[0], sums, vectors);
        k = 1;
    }
    for (; k < stepCount; ++k) octaveOverBlock<V, kBlends, false>(input, steps[k], sums, vectors);

    // Below the window 0, at or above it 1, else the position within it.
    const D lo = V::set1(input.noiseLow);
    const D hi = V::set1(input.noiseHigh);
    for (int32_t j = 0; j < count; j += kWidth) {
        const D sum = V::load(sums.sum + j);
        D t = V::div(V::sub(sum, lo), V::sub(hi, lo));
        t = V::select(V::ge(sum, hi), V::set1(1.0), t);
        t = V::select(V::gt(lo, sum), V::zero(), t);
        const D result = V::add(V::mul(V::set1(input.outputRange), t), V::set1(input.outputMin));
        if (count - j >= kWidth) {
            V::storeu(values + j, result);
        } else {
            alignas(64) double lanes[kWidth];
            V::store(lanes, result);
            for (int32_t i = 0; j + i < count; ++i) values[j + i] = lanes[i];
        }
    }
}

template <class V>
void noiseBlock(const NoiseKernelInput& input, const OctaveStep* steps, int32_t stepCount,
                int32_t first, const double* bases, int32_t count, double* values) {
    if (input.blends) {
        noiseBlock<V, true>(input, steps, stepCount, first, bases, count, values);
    } else {
        noiseBlock<V, false>(input, steps, stepCount, first, bases, count, values);
    }
}

// values[j] for element first + j, j < count: the same bits as the scalar block.
template <class V>
void computeNoiseBlockKernel(const NoiseKernelInput& input, int32_t first, int32_t count,
                             double* values) {
    // Longer blocks go in parts the size of the kernel's own sums.
    while (count > BlockSums::kCapacity) {
        computeNoiseBlockKernel<V>(input, first, BlockSums::kCapacity, values);
        first += BlockSums::kCapacity;
        count -= BlockSums::kCapacity;
        values += BlockSums::kCapacity;
    }
    OctaveStep steps[17];
    const int32_t stepCount = octaveSteps(input, basePosition(input, first),
                                          basePosition(input, first + count - 1), steps);
    noiseBlock<V>(input, steps, stepCount, first, nullptr, count, values);
}

// values[j] for the base position bases[j], j < count: the same bits as the scalar
// computeNoiseAtScalar (noise_block.h).
template <class V>
void computeNoiseAtKernel(const NoiseKernelInput& input, const double* bases, int32_t count,
                          double* values) {
    while (count > BlockSums::kCapacity) {
        computeNoiseAtKernel<V>(input, bases, BlockSums::kCapacity, values);
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
    const int32_t stepCount = octaveSteps(input, lowBase, highBase, steps);
    noiseBlock<V>(input, steps, stepCount, 0, bases, count, values);
}

}  // namespace
}  // namespace qev
