#include "qev_random_array.h"

#include "array_conversions.h"
#include "array_elements.h"
#include "host_services.h"
#include "module_description.h"

namespace qev {

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
    ArraySettings settings;
    settings.offset = read(kOffset);
    settings.scale = read(kScale);
    settings.octaves = read(kOctaves);
    settings.noiseMin = read(kNoiseMin);
    settings.noiseMax = read(kNoiseMax);
    settings.fade = read(kFade);
    settings.noiseBias = read(kNoiseBias);
    settings.noiseGain = read(kNoiseGain);
    settings.outputMin = read(kOutputMin);
    settings.outputMax = read(kOutputMax);
    const int32_t count = arrayCountFromValue(read(kArraySize));

    // Held-back changes: the arrays are resized before the table is rebuilt.
    if (sizePending) {
        resizeArrays(count);
        sizePending = false;
    }
    if (seedPending) {
        applySeed(seed);
        seedPending = false;
    }

    // Never past the length the host was last given, whatever "Array Size" reads now.
    writeElements(ArrayElements(settings), count < arrayLength ? count : arrayLength);
}

void QevRandomArray::writeElements(const ArrayElements& elements, int32_t count) {
    const EventHandle floatOut = handle(kFloatOut);
    const EventHandle integerOut = handle(kIntegerOut);
    // A host without the service is given nothing; read once, not twice per element.
    const auto setElement = hostInfo ? hostInfo->setEventArrayValue : nullptr;
    if (!setElement) return;
    constexpr int32_t kBlock = ArrayElements::kBlockSize;
    float floats[kBlock];
    float integers[kBlock];
    for (int32_t first = 0; first < count; first += kBlock) {
        const int32_t blockCount = count - first < kBlock ? count - first : kBlock;
        elements.compute(randomTable, first, blockCount, floats, integers);
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
