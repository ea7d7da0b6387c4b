#include "user_module_base.h"

#include "host_services.h"

namespace qev {

UserModuleBase::~UserModuleBase() = default;

int32_t UserModuleBase::onGetNumberOfParams(int32_t) {
    // Before any ModuleInfo arrived there is no count to answer with.
    return moduleInfo ? moduleInfo->numberOfParams : 0;
}

void UserModuleBase::onAfterQuery(HostInfo*, ModuleInfo*, int32_t) {}
void UserModuleBase::onInitModule(HostInfo*, ModuleInfo*) {}
void UserModuleBase::onSetEventAddress(int32_t, EventHandle) {}
void UserModuleBase::onCallBack(CallBackMessage*) {}
void UserModuleBase::onProcess() {}
void UserModuleBase::onMidiSendOut(intptr_t, int32_t) {}
void UserModuleBase::onMidiSysexSendOut(intptr_t, intptr_t) {}
int32_t UserModuleBase::onGetChunkLen(intptr_t) {
    return 0;
}
void UserModuleBase::onGetChunk(intptr_t, intptr_t) {}
void UserModuleBase::onSetChunk(intptr_t, intptr_t, intptr_t) {}
void UserModuleBase::onCreateSettings() {}
void UserModuleBase::onSettingsHasChanged() {}
void UserModuleBase::onResize(float, float) {}
void UserModuleBase::onPaint() {}
void UserModuleBase::onCreateCommands() {}
void UserModuleBase::onMouseMove(int32_t, float, float) {}
void UserModuleBase::onMouseDown(int32_t, int32_t, float, float) {}
void UserModuleBase::onMouseUp(int32_t, int32_t, float, float) {}
void UserModuleBase::onMouseMoveMultiProc(intptr_t, intptr_t, intptr_t) {}
void UserModuleBase::onMouseDownMultiProc(intptr_t, intptr_t, intptr_t, intptr_t) {}
void UserModuleBase::onMouseUpMultiProc(intptr_t, intptr_t, intptr_t, intptr_t) {}
void UserModuleBase::onOpenEditor() {}
void UserModuleBase::onBringToFront() {}
void UserModuleBase::onCloseEditor() {}
void UserModuleBase::onResizeEditor(intptr_t, intptr_t) {}
void UserModuleBase::onBlocSizeChange(int32_t) {}
void UserModuleBase::onSampleRateChange(double) {}
void UserModuleBase::onSetRecordedValue(float, float, float) {}

void UserModuleBase::storeHostRecords(HostInfo* host, ModuleInfo* info) {
    if (host) hostInfo = host;
    if (info) moduleInfo = info;
}

void UserModuleBase::guardedCallBack(CallBackMessage* message) {
    if (!message) return;
    const intptr_t paramIndex = message->paramIndex;
    if (paramIndex >= 4095) return;
    try {
        onCallBack(message);
    } catch (...) {
        reportToHost(*this, " in CallBack");
    }
}

void reportToHost(const UserModuleBase& module, const char* text) noexcept {
    try {
        reportError(module.hostInfo, text);
    } catch (...) {
        // A host whose error service throws cannot be told anything more.
    }
}

}  // namespace qev
