#include "entry_points.h"

#include <exception>
#include <new>

#include "module_fp_environment.h"

namespace {

using qev::ModuleFpEnvironment;
using qev::reportToHost;

// Runs one virtual operation in the module's floating-point environment; any exception is
// reported once with the export's text and swallowed. A null module object makes the call do
// nothing.
template <typename Operation>
void forward(UserModuleBase* module, const char* text, Operation&& operation) noexcept {
    if (!module) return;
    ModuleFpEnvironment environment;
    try {
        operation();
    } catch (...) {
        reportToHost(*module, text);
    }
}

template <typename Operation>
int32_t forwardResult(UserModuleBase* module, const char* text, Operation&& operation) noexcept {
    if (!module) return -1;
    ModuleFpEnvironment environment;
    try {
        return operation();
    } catch (...) {
        reportToHost(*module, text);
        return -1;
    }
}

}  // namespace

QEV_EXPORT int32_t GetSDKVersion() {
    return qev::kSdkVersion;
}

QEV_EXPORT void Create(UserModuleBase** out) {
    if (!out) return;
    ModuleFpEnvironment environment;
    try {
        *out = qev::createModule();
    } catch (...) {
        *out = nullptr;
    }
}

QEV_EXPORT void Destroy(UserModuleBase* module) {
    ModuleFpEnvironment environment;
    try {
        delete module;
    } catch (const std::exception&) {
        // Destroying must not fail in front of the host; the object is gone either way.
    }
}

QEV_EXPORT void GetModuleInfo(UserModuleBase* module, HostInfo* host, ModuleInfo* info) {
    if (!info) return;
    forward(module, " in GetModuleInfo", [&] {
        module->storeHostRecords(host, info);
        module->onGetModuleInfo(host, info);
    });
}

QEV_EXPORT int32_t GetNumberOfParams(UserModuleBase* module, int32_t queryResult) {
    return forwardResult(module, " in GetNumberOfParams",
                         [&] { return module->onGetNumberOfParams(queryResult); });
}

QEV_EXPORT void AfterQuery(UserModuleBase* module, HostInfo* host, ModuleInfo* info,
                           int32_t queryResult) {
    if (!info) return;
    forward(module, " in AfterQuery", [&] {
        module->storeHostRecords(host, info);
        info->numberOfParams = module->onGetNumberOfParams(queryResult);
        module->onAfterQuery(host, info, queryResult);
    });
}

QEV_EXPORT void InitModule(UserModuleBase* module, HostInfo* host, ModuleInfo* info) {
    forward(module, " in InitModule", [&] {
        module->storeHostRecords(host, info);
        module->onInitModule(module->hostInfo, module->moduleInfo);
    });
}

QEV_EXPORT void GetParamInfo(UserModuleBase* module, int32_t index, ParamInfo* param) {
    if (!param) return;
    forward(module, " in GetParamInfo", [&] { module->onGetParamInfo(index, param); });
}

QEV_EXPORT void SetEventAddress(UserModuleBase* module, int32_t index, EventHandle handle) {
    forward(module, " in SetEventAddress", [&] { module->onSetEventAddress(index, handle); });
}

QEV_EXPORT void CallBack(UserModuleBase* module, CallBackMessage* message) {
    forward(module, " in CallBack", [&] { module->guardedCallBack(message); });
}

QEV_EXPORT void Process(UserModuleBase* module) {
    forward(module, " in Process", [&] { module->onProcess(); });
}

QEV_EXPORT void MidiSendOut(UserModuleBase* module, intptr_t port, int32_t message) {
    forward(module, " in MidiSendOut", [&] { module->onMidiSendOut(port, message); });
}

QEV_EXPORT void MidiSysexSendOut(UserModuleBase* module, intptr_t port, intptr_t data) {
    forward(module, " in MidiSysexSendOut", [&] { module->onMidiSysexSendOut(port, data); });
}

QEV_EXPORT int32_t GetChunkLen(UserModuleBase* module, intptr_t chunkName) {
    return forwardResult(module, " in GetChunkLen",
                         [&] { return module->onGetChunkLen(chunkName); });
}

QEV_EXPORT void GetChunk(UserModuleBase* module, intptr_t chunkName, intptr_t chunk) {
    forward(module, " in GetChunk", [&] { module->onGetChunk(chunkName, chunk); });
}

// The host passes (chunk, length, name) where the operation takes (chunk, name, length).
QEV_EXPORT void SetChunk(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c) {
    forward(module, " in SetChunk", [&] { module->onSetChunk(a, c, b); });
}

QEV_EXPORT void CreateSettings(UserModuleBase* module) {
    forward(module, " in CreateSettings", [&] { module->onCreateSettings(); });
}

QEV_EXPORT void CreateCommands(UserModuleBase* module) {
    forward(module, " in CreateCommands", [&] { module->onCreateCommands(); });
}

QEV_EXPORT void SettingsHasChanged(UserModuleBase* module) {
    forward(module, " in SettingsHasChanged", [&] { module->onSettingsHasChanged(); });
}

QEV_EXPORT void Resize(UserModuleBase* module, float newWidth, float newHeight) {
    forward(module, " in Resize", [&] {
        module->width = newWidth;
        module->height = newHeight;
        module->onResize(newWidth, newHeight);
    });
}

QEV_EXPORT void Paint(UserModuleBase* module) {
    forward(module, " in Paint", [&] { module->onPaint(); });
}

QEV_EXPORT void MouseMove(UserModuleBase* module, int32_t shift, float x, float y) {
    forward(module, " in MouseMove", [&] { module->onMouseMove(shift, x, y); });
}

QEV_EXPORT void MouseDown(UserModuleBase* module, int32_t button, int32_t shift, float x, float y) {
    forward(module, " in MouseDown", [&] { module->onMouseDown(button, shift, x, y); });
}

QEV_EXPORT void MouseUp(UserModuleBase* module, int32_t button, int32_t shift, float x, float y) {
    forward(module, " in MouseUp", [&] { module->onMouseUp(button, shift, x, y); });
}

QEV_EXPORT void MouseMoveMultiProc(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c) {
    forward(module, " in MouseMoveMultiProc", [&] { module->onMouseMoveMultiProc(a, b, c); });
}

QEV_EXPORT void MouseDownMultiProc(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c,
                                   intptr_t d) {
    forward(module, " in MouseDownMultiProc", [&] { module->onMouseDownMultiProc(a, b, c, d); });
}

QEV_EXPORT void MouseUpMultiProc(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c,
                                 intptr_t d) {
    forward(module, " in MouseUpMultiProc", [&] { module->onMouseUpMultiProc(a, b, c, d); });
}

QEV_EXPORT void OpenEditor(UserModuleBase* module) {
    forward(module, " in OpenEditor", [&] { module->onOpenEditor(); });
}

QEV_EXPORT void BringToFront(UserModuleBase* module) {
    forward(module, " in BringToFront", [&] { module->onBringToFront(); });
}

QEV_EXPORT void CloseEditor(UserModuleBase* module) {
    forward(module, " in CloseEditor", [&] { module->onCloseEditor(); });
}

QEV_EXPORT void ResizeEditor(UserModuleBase* module, intptr_t newWidth, intptr_t newHeight) {
    forward(module, " in ResizeEditor", [&] { module->onResizeEditor(newWidth, newHeight); });
}

QEV_EXPORT void OnBlocSizeChange(UserModuleBase* module, int32_t blocSize) {
    forward(module, " in OnBlocSizeChange", [&] { module->onBlocSizeChange(blocSize); });
}

QEV_EXPORT void OnSampleRateChange(UserModuleBase* module, double sampleRate) {
    forward(module, " in OnSampleRateChange", [&] { module->onSampleRateChange(sampleRate); });
}

QEV_EXPORT void SetRecordedValue(UserModuleBase* module, float a, float b, float c) {
    forward(module, " in SetRecordedValue", [&] { module->onSetRecordedValue(a, b, c); });
}
