#include "qev_random.h"

#include "conversions.h"
#include "host_services.h"
#include "module_description.h"
#include "noise.h"
#include "output_bounds.h"

namespace qev {

QevRandom::~QevRandom() = default;

void QevRandom::onGetModuleInfo(HostInfo*, ModuleInfo* info) {
    writeModuleDescription(hostInfo, info, "Qev-Random", "Qev Random", kRandomParamCount);
}

void QevRandom::onInitModule(HostInfo*, ModuleInfo*) {
    applySeed();
}

void QevRandom::onGetParamInfo(int32_t index, ParamInfo* param) {
    if (static_cast<uint32_t>(index) >= kRandomParamCount) return;
    writeParameterRow(kRandomParameters[index], param);
}

void QevRandom::onSetEventAddress(int32_t index, EventHandle handle) {
    if (static_cast<uint32_t>(index) >= kRandomParamCount) return;
    handles[index] = handle;
}

void QevRandom::onCallBack(CallBackMessage* message) {
    if (message->paramIndex == kRandomSeed && message->messageDetail == 0) applySeed();
}

void QevRandom::onProcess() {
    // Every parameter is read once, in this order, before anything is computed; the host's read
    // service is looked up once for all of them (a missing one reads 0).
    const auto get = hostInfo ? hostInfo->getEventValue : nullptr;
    const auto readValue = [this, get](RandomParam param) {
        return get ? get(handles[param]) : 0.0f;
    };
    const double input = readValue(kInput);
    OctaveSettings settings;
    settings.octaves = readValue(kOctaves);
    settings.bias = readValue(kNoiseBias);
    settings.gain = readValue(kNoiseGain);
    const double noiseMin = readValue(kNoiseMin);
    const double noiseMax = readValue(kNoiseMax);
    const double fade = readValue(kFade);
    const double scale = readValue(kScale);
    const double offset = readValue(kOffset);
    const double outputMin = readValue(kOutputMin);
    const double outputMax = readValue(kOutputMax);

    settings.fadeWindow = fade * 0.5;
    const double base = (offset + input) * scale;
    const double sum = octaveSum(base, settings, randomTable);
    const double t = normaliseNoise(sum, noiseMin, noiseMax);
    const double value =
        OutputBounds(outputMin, outputMax).clamp(mapOutputRange(t, outputMin, outputMax));
    setEventValue(hostInfo, handles[kOutput], static_cast<float>(value));
}

float QevRandom::read(RandomParam param) const {
    return getEventValue(hostInfo, handles[param]);
}

void QevRandom::applySeed() {
    randomTable.reseed(seedFromValue(read(kRandomSeed)), generator, lastSeed);
}

UserModuleBase* createModule() {
    return new QevRandom();
}

}  // namespace qev
