#include "qev_random.h"

#include "conversions.h"
#include "host_services.h"
#include "module_description.h"
#include "random_output.h"

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
    RandomSettings settings;
    settings.octaves = readValue(kOctaves);
    settings.noiseBias = readValue(kNoiseBias);
    settings.noiseGain = readValue(kNoiseGain);
    settings.noiseMin = readValue(kNoiseMin);
    settings.noiseMax = readValue(kNoiseMax);
    settings.fade = readValue(kFade);
    settings.scale = readValue(kScale);
    settings.offset = readValue(kOffset);
    settings.outputMin = readValue(kOutputMin);
    settings.outputMax = readValue(kOutputMax);
    setEventValue(hostInfo, handles[kOutput],
                  randomOutput(input, settings, randomTable, octaveSum));
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
