#include "qev_random_array.h"

#include <cmath>

#include "array_conversions.h"
#include "host_services.h"
#include "module_description.h"
#include "output_bounds.h"

namespace qev {

namespace {

// 100 table lengths: the offset is wrapped to this before it enters the positions.
constexpr double kOffsetPeriod = 997300.0;
// Elements computed per engine call: 2 KiB of doubles on the stack, and few enough calls that
// the engine's per-call setup stays small next to the elements.
constexpr int32_t kBlockSize = 256;

}  // namespace

QevRandomArray::~QevRandomArray() = default;

void QevRandomArray::onGetModuleInfo(HostInfo*, ModuleInfo* info) {
    writeModuleDescription(hostInfo, info, "Qev-RandomArray", "Qev RandomArray",
                           kRandomArrayParamCount);
}

void QevRandomArray::onInitModule(HostInfo*, ModuleInfo*) {
    applySeed(seedFromValue(read(kRandomSeed)));
    seedPending = false;
    resizeArrays(arrayCountFromValue(read(kArraySize)));
    sizePending = false;
}

void QevRandomArray::onGetParamInfo(int32_t index, ParamInfo* param) {
    if (static_cast<uint32_t>(index) >= kRandomArrayParamCount) return;
    writeParameterRow(kRandomArrayParameters[index], param);
}

void QevRandomArray::onSetEventAddress(int32_t index, EventHandle newHandle) {
    if (static_cast<uint32_t>(index) >= kRandomArrayParamCount) return;
    handle(static_cast<RandomArrayParam>(index)) = newHandle;
}

void QevRandomArray::onCallBack(CallBackMessage* message) {
    const intptr_t param = message->paramIndex;
    const bool applies = message->messageDetail == 0;
    const int32_t mode = modeFromValue(read(kMode));

    if (param == kRandomSeed && applies) {
        if (mode == kUpdateOnClick) {
            seedPending = true;
        } else {
            applySeed(seedFromValue(read(kRandomSeed)));
            seedPending = false;
        }
    } else if (param == kArraySize && applies) {
        if (mode == kUpdateOnClick) {
            sizePending = true;
        } else {
            resizeArrays(arrayCountFromValue(read(kArraySize)));
            sizePending = false;
        }
    }

    // Automatic Update computes on every message; any other mode only on the button.
    if (mode != kAutomaticUpdate && param != kCalculateArray) return;
    if (!applies) return;
    computeArray();
}

void QevRandomArray::computeArray() {
    // Every parameter is read once, before anything is written.
    const int32_t seed = seedFromValue(read(kRandomSeed));
    const double offset = read(kOffset);
    NoiseBlockSettings settings;
    settings.scale = read(kScale);
    settings.octaves.octaves = read(kOctaves);
    double noiseMin = read(kNoiseMin);
    double noiseMax = read(kNoiseMax);
    const double fade = read(kFade);
    settings.octaves.bias = read(kNoiseBias);
    settings.octaves.gain = read(kNoiseGain);
    const double outputMin = read(kOutputMin);
    const double outputMax = read(kOutputMax);
    const int32_t count = arrayCountFromValue(read(kArraySize));

    settings.wrappedOffset = std::fmod(offset, kOffsetPeriod);
    settings.octaves.fadeWindow = fade * 0.5;
    settings.outputMin = outputMin;
    settings.outputRange = outputMax - outputMin;

    // Held-back changes: the arrays are resized before the table is rebuilt.
    if (sizePending) {
        resizeArrays(count);
        sizePending = false;
    }
    if (seedPending) {
        applySeed(seed);
        seedPending = false;
    }

    if (noiseMin > noiseMax) {
        const double lower = noiseMax;
        noiseMax = noiseMin;
        noiseMin = lower;
    }
    settings.noiseMin = noiseMin;
    settings.noiseMax = noiseMax;

    // Never past the length the host was last given, whatever "Array Size" reads now.
    writeElements(settings, OutputBounds(outputMin, outputMax),
                  count < arrayLength ? count : arrayLength);
}

void QevRandomArray::writeElements(const NoiseBlockSettings& settings, const OutputBounds& bounds,
                                   int32_t count) {
    const EventHandle floatOut = handle(kFloatOut);
    const EventHandle integerOut = handle(kIntegerOut);
    // A host without the service is given nothing; read once, not twice per element.
    const auto setElement = hostInfo ? hostInfo->setEventArrayValue : nullptr;
    if (!setElement) return;
    double values[kBlockSize];
    float floats[kBlockSize];
    float integers[kBlockSize];
    for (int32_t first = 0; first < count; first += kBlockSize) {
        const int32_t blockCount = count - first < kBlockSize ? count - first : kBlockSize;
        computeNoiseBlock(settings, randomTable, first, blockCount, values);
        // The value kept within the output range, and the same rounded half away from zero.
        finishElements(values, blockCount, bounds.low, bounds.high, floats, integers);
        for (int32_t j = 0; j < blockCount; ++j) {
            setElement(floatOut, first + j, floats[j]);
            setElement(integerOut, first + j, integers[j]);
        }
    }
}

EventHandle& QevRandomArray::handle(RandomArrayParam param) {
    return param == kMode ? modeHandle : handles[param - 1];
}

float QevRandomArray::read(RandomArrayParam param) {
    return getEventValue(hostInfo, handle(param));
}

void QevRandomArray::applySeed(int32_t seed) {
    randomTable.reseed(seed, generator, lastSeed);
}

void QevRandomArray::resizeArrays(int32_t count) {
    setEventSize(hostInfo, handle(kFloatOut), count);
    setEventSize(hostInfo, handle(kIntegerOut), count);
    // A host without the size service was given no length, so nothing may be written.
    arrayLength = (hostInfo && hostInfo->setEventSize) ? count : 0;
}

UserModuleBase* createModule() {
    return new QevRandomArray();
}

}  // namespace qev
