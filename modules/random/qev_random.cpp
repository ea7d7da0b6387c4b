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
    // Every parameter is read once, in this order, before anything is computed.
    const double input = read(kInput);
    OctaveSettings settings;
    settings.octaves = read(kOctaves);
    settings.bias = read(kNoiseBias);
    settings.gain = read(kNoiseGain);
    const double noiseMin = read(kNoiseMin);
    const double noiseMax = read(kNoiseMax);
    const double fade = read(kFade);
    const double scale = read(kScale);
    const double offset = read(kOffset);
    const double outputMin = read(kOutputMin);
    const double outputMax = read(kOutputMax);

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
