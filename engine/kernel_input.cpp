#include "kernel_input.h"

namespace qev {

namespace {

// ((entry / 9973) - 0.5) * 2 for every entry value, worked out by the compiler, whose constant
// arithmetic rounds exactly as the run-time one does (a test compares every entry value).
struct ScaledEntryTable {
    double values[RandomTable::kSize + 1];
};
constexpr ScaledEntryTable makeScaledEntryTable() {
    ScaledEntryTable table{};
    for (int i = 0; i <= RandomTable::kSize; ++i)
        table.values[i] = ((i / RandomTable::kScale) - 0.5) * 2.0;
    return table;
}
constexpr ScaledEntryTable kScaledEntries = makeScaledEntryTable();

}  // namespace

const double* scaledEntrySamples() {
    return kScaledEntries.values;
}

NoiseKernelInput octaveKernelInput(const OctavePlan& plan, const RandomTable& table) {
    NoiseKernelInput in{};
    in.entries = table.data();
    in.scaledEntries = kScaledEntries.values;
    in.wideCellIndex = &RandomTable::cellIndex;
    in.wholeOctaves = plan.whole;
    in.fraction = plan.fraction;
    in.blends = plan.blend.blends;
    in.fadeWindow = plan.blend.fadeWindow;
    in.windowEnd = plan.blend.windowEnd;
    in.fadeByProduct = plan.blend.window.byProduct();
    in.fadeReciprocal = plan.blend.window.reciprocal();
    in.shapesBias = plan.blend.shapesBias;
    in.biasFactor = plan.blend.biasFactor;
    in.shapesGain = plan.blend.shapesGain;
    in.gainFactor = plan.blend.gainFactor;
    return in;
}

}  // namespace qev
