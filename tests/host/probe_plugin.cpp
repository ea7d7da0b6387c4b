// A small plug-in for testing the host. It is written against the frame's record declarations,
// so the host's own offset tables are checked against them, and it misbehaves on request: each
// CallBack with a paramIndex from 100 up performs one fault or service call (see ProbeAction),
// and a change of "Gain" is answered with a report.
#include <cstdlib>
#include <cstring>

#include "host_info.h"
#include "host_records.h"

using namespace qev;

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

enum ProbeAction : intptr_t {
    kResize = 100,           // setEventSize("Table", detail)
    kWriteElement = 101,     // setEventArrayValue("Table", detail, 7.5)
    kReportTwice = 102,      // reportError "probe: first", then "probe: second"
    kSpoilHostInfo = 103,    // flips a host-owned HostInfo byte
    kSpoilMessage = 104,     // writes the message's hostReserved
    kUnknownHandle = 105,    // setEventValue with a handle the host never gave
    kSpoilModuleInfo = 106,  // writes a host-owned ModuleInfo byte
};

struct Probe {
    HostInfo* host = nullptr;
    ModuleInfo* info = nullptr;
    EventHandle handles[4] = {};
};

constexpr int32_t kParams = 4;  // Gain, Level, Table, Sloppy

}  // namespace

PROBE_EXPORT int32_t GetSDKVersion() {
    return 601001;
}

PROBE_EXPORT void Create(void** out) {
    *out = std::getenv("QEV_PROBE_CREATE_NULL") ? nullptr : new Probe;
}

PROBE_EXPORT void Destroy(void* module) {
    delete static_cast<Probe*>(module);
}

PROBE_EXPORT void GetModuleInfo(void* module, HostInfo* host, ModuleInfo* info) {
    auto* probe = static_cast<Probe*>(module);
    probe->host = host;
    probe->info = info;
    info->name = "Probe";
    info->description = "Host Probe";
    info->moduleType = 3;
    info->hostLookup = host->lookupHostValue(60);
    info->numberOfParams = kParams;
    info->optionCode = 0;
    info->version = "1.0";
}

PROBE_EXPORT int32_t GetNumberOfParams(void*, int32_t) {
    return kParams;
}
PROBE_EXPORT void AfterQuery(void*, HostInfo*, ModuleInfo*, int32_t) {}

PROBE_EXPORT void InitModule(void* module, HostInfo*, ModuleInfo*) {
    auto* probe = static_cast<Probe*>(module);
    probe->host->setEventSize(probe->handles[2], 4);
}

PROBE_EXPORT void GetParamInfo(void*, int32_t index, ParamInfo* p) {
    if (index < 0 || index >= kParams) return;
    static const char* const captions[] = {"Gain", "Level", "Table", "Sloppy"};
    p->caption = captions[index];
    p->paramType = index == 2 ? DataArray : NumberBox;
    p->isInput = index == 0 || index == 3;
    p->isOutput = !p->isInput;
    p->commonFlag = 1;
    p->minValue = 0.0f;
    p->maxValue = 10.0f;
    p->defaultValue = index == 0 ? 2.0f : 0.0f;
    p->format = "%.3f";
    if (index == 0) {
        p->settingFlag = 0;
        p->modeCode = 2;
        p->startsGroup = 1;
    }
    if (index == 3) std::memset(p->hostReserved0, 0, 2);  // a fault: host-owned bytes
}

PROBE_EXPORT void SetEventAddress(void* module, int32_t index, EventHandle handle) {
    if (index >= 0 && index < kParams) static_cast<Probe*>(module)->handles[index] = handle;
}

PROBE_EXPORT void CallBack(void* module, CallBackMessage* message) {
    auto* probe = static_cast<Probe*>(module);
    HostInfo* host = probe->host;
    const auto detail = static_cast<int32_t>(message->messageDetail);
    switch (message->paramIndex) {
        case 0:  // a change of "Gain"
            if (detail == 0) host->reportError("probe: gain changed");
            break;
        case kResize:
            host->setEventSize(probe->handles[2], detail);
            break;
        case kWriteElement:
            host->setEventArrayValue(probe->handles[2], detail, 7.5f);
            break;
        case kReportTwice:
            host->reportError("probe: first");
            host->reportError("probe: second");
            break;
        case kSpoilHostInfo:
            reinterpret_cast<uint8_t*>(host)[1] ^= 0xFF;
            break;
        case kSpoilMessage:
            message->hostReserved = nullptr;
            break;
        case kUnknownHandle:
            host->setEventValue(reinterpret_cast<EventHandle>(0x40), 1.0f);
            break;
        case kSpoilModuleInfo:
            probe->info->hostReserved0[3] = 0;
            break;
        default:
            break;
    }
}

PROBE_EXPORT void Process(void* module) {
    auto* probe = static_cast<Probe*>(module);
    const float gain = probe->host->getEventValue(probe->handles[0]);
    probe->host->setEventValue(probe->handles[1], gain * 2.0f);
}

// The remaining exports do nothing; GetChunkLen answers 17 so raw calls can be told apart.
PROBE_EXPORT void MidiSendOut(void*, intptr_t, int32_t) {}
PROBE_EXPORT void MidiSysexSendOut(void*, intptr_t, intptr_t) {}
PROBE_EXPORT int32_t GetChunkLen(void*, intptr_t) {
    return 17;
}
PROBE_EXPORT void GetChunk(void*, intptr_t, intptr_t) {}
PROBE_EXPORT void SetChunk(void*, intptr_t, intptr_t, intptr_t) {}
PROBE_EXPORT void CreateSettings(void*) {}
PROBE_EXPORT void CreateCommands(void*) {}
PROBE_EXPORT void SettingsHasChanged(void*) {}
PROBE_EXPORT void Resize(void*, float, float) {}
PROBE_EXPORT void Paint(void*) {}
PROBE_EXPORT void MouseMove(void*, int32_t, float, float) {}
PROBE_EXPORT void MouseDown(void*, int32_t, int32_t, float, float) {}
PROBE_EXPORT void MouseUp(void*, int32_t, int32_t, float, float) {}
PROBE_EXPORT void MouseMoveMultiProc(void*, intptr_t, intptr_t, intptr_t) {}
PROBE_EXPORT void MouseDownMultiProc(void*, intptr_t, intptr_t, intptr_t, intptr_t) {}
PROBE_EXPORT void MouseUpMultiProc(void*, intptr_t, intptr_t, intptr_t, intptr_t) {}
PROBE_EXPORT void OpenEditor(void*) {}
PROBE_EXPORT void BringToFront(void*) {}
PROBE_EXPORT void CloseEditor(void*) {}
PROBE_EXPORT void ResizeEditor(void*, intptr_t, intptr_t) {}
PROBE_EXPORT void OnBlocSizeChange(void*, int32_t) {}
PROBE_EXPORT void OnSampleRateChange(void*, double) {}
PROBE_EXPORT void SetRecordedValue(void*, float, float, float) {}
