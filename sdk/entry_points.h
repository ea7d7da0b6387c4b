// The 34 exported entry points, under their plain names with the C calling convention. Every one
// but GetSDKVersion and Create takes the module object first. No exception leaves any of them.
#pragma once

#include <cstdint>

#include "host_info.h"
#include "host_records.h"
#include "user_module_base.h"

#if defined(_WIN32)
// Exported by name through exports.def.
#define QEV_EXPORT extern "C"
#else
#define QEV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace qev {
constexpr int32_t kSdkVersion = 601001;
}

using qev::CallBackMessage;
using qev::EventHandle;
using qev::HostInfo;
using qev::ModuleInfo;
using qev::ParamInfo;
using qev::UserModuleBase;

QEV_EXPORT int32_t GetSDKVersion();
QEV_EXPORT void Create(UserModuleBase** out);
QEV_EXPORT void Destroy(UserModuleBase* module);
QEV_EXPORT void GetModuleInfo(UserModuleBase* module, HostInfo* host, ModuleInfo* info);
QEV_EXPORT int32_t GetNumberOfParams(UserModuleBase* module, int32_t queryResult);
QEV_EXPORT void AfterQuery(UserModuleBase* module, HostInfo* host, ModuleInfo* info,
                           int32_t queryResult);
QEV_EXPORT void InitModule(UserModuleBase* module, HostInfo* host, ModuleInfo* info);
QEV_EXPORT void GetParamInfo(UserModuleBase* module, int32_t index, ParamInfo* param);
QEV_EXPORT void SetEventAddress(UserModuleBase* module, int32_t index, EventHandle handle);
QEV_EXPORT void CallBack(UserModuleBase* module, CallBackMessage* message);
QEV_EXPORT void Process(UserModuleBase* module);
QEV_EXPORT void MidiSendOut(UserModuleBase* module, intptr_t port, int32_t message);
QEV_EXPORT void MidiSysexSendOut(UserModuleBase* module, intptr_t port, intptr_t data);
QEV_EXPORT int32_t GetChunkLen(UserModuleBase* module, intptr_t chunkName);
QEV_EXPORT void GetChunk(UserModuleBase* module, intptr_t chunkName, intptr_t chunk);
QEV_EXPORT void SetChunk(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c);
QEV_EXPORT void CreateSettings(UserModuleBase* module);
QEV_EXPORT void CreateCommands(UserModuleBase* module);
QEV_EXPORT void SettingsHasChanged(UserModuleBase* module);
QEV_EXPORT void Resize(UserModuleBase* module, float newWidth, float newHeight);
QEV_EXPORT void Paint(UserModuleBase* module);
QEV_EXPORT void MouseMove(UserModuleBase* module, int32_t shift, float x, float y);
QEV_EXPORT void MouseDown(UserModuleBase* module, int32_t button, int32_t shift, float x, float y);
QEV_EXPORT void MouseUp(UserModuleBase* module, int32_t button, int32_t shift, float x, float y);
QEV_EXPORT void MouseMoveMultiProc(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c);
QEV_EXPORT void MouseDownMultiProc(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c,
                                   intptr_t d);
QEV_EXPORT void MouseUpMultiProc(UserModuleBase* module, intptr_t a, intptr_t b, intptr_t c,
                                 intptr_t d);
QEV_EXPORT void OpenEditor(UserModuleBase* module);
QEV_EXPORT void BringToFront(UserModuleBase* module);
QEV_EXPORT void CloseEditor(UserModuleBase* module);
QEV_EXPORT void ResizeEditor(UserModuleBase* module, intptr_t newWidth, intptr_t newHeight);
QEV_EXPORT void OnBlocSizeChange(UserModuleBase* module, int32_t blocSize);
QEV_EXPORT void OnSampleRateChange(UserModuleBase* module, double sampleRate);
QEV_EXPORT void SetRecordedValue(UserModuleBase* module, float a, float b, float c);
