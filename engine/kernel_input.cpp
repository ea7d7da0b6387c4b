#include "kernel_input.h"

namespace qev {

NoiseKernelInput octaveKernelInput(const OctavePlan& plan, const RandomTable& table) {
    NoiseKernelInput in{};
    in.paddedEntries = table.paddedEntries();
    in.scaledSamples = table.scaledSamples();
    in.octaveOffsets = table.octaveOffsetsFrom(16);
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
