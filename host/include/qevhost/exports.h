// The 34 entry points of a plug-in, as typed function pointers. The module object is a void*;
// records are passed as raw byte pointers laid out by records.h.
#pragma once

#include <array>
#include <cstdint>

namespace qevhost {

// X(name, result, parameter list), in the plug-in interface's order.
#define QEVHOST_EXPORT_LIST(X)                                                          \
    X(GetSDKVersion, int32_t, ())                                                       \
    X(Create, void, (void** out))                                                       \
    X(Destroy, void, (void* module))                                                    \
    X(GetModuleInfo, void, (void* module, void* hostInfo, void* moduleInfo))            \
    X(GetNumberOfParams, int32_t, (void* module, int32_t queryResult))                  \
    X(AfterQuery, void, (void* module, void* hostInfo, void* moduleInfo, int32_t))      \
    X(InitModule, void, (void* module, void* hostInfo, void* moduleInfo))               \
    X(GetParamInfo, void, (void* module, int32_t index, void* paramInfo))               \
    X(SetEventAddress, void, (void* module, int32_t index, void* handle))               \
    X(CallBack, void, (void* module, void* message))                                    \
    X(Process, void, (void* module))                                                    \
    X(MidiSendOut, void, (void* module, intptr_t, int32_t))                             \
    X(MidiSysexSendOut, void, (void* module, intptr_t, intptr_t))                       \
    X(GetChunkLen, int32_t, (void* module, intptr_t))                                   \
    X(GetChunk, void, (void* module, intptr_t, intptr_t))                               \
    X(SetChunk, void, (void* module, intptr_t, intptr_t, intptr_t))                     \
    X(CreateSettings, void, (void* module))                                             \
    X(CreateCommands, void, (void* module))                                             \
    X(SettingsHasChanged, void, (void* module))                                         \
    X(Resize, void, (void* module, float width, float height))                          \
    X(Paint, void, (void* module))                                                      \
    X(MouseMove, void, (void* module, int32_t, float, float))                           \
    X(MouseDown, void, (void* module, int32_t, int32_t, float, float))                  \
    X(MouseUp, void, (void* module, int32_t, int32_t, float, float))                    \
    X(MouseMoveMultiProc, void, (void* module, intptr_t, intptr_t, intptr_t))           \
    X(MouseDownMultiProc, void, (void* module, intptr_t, intptr_t, intptr_t, intptr_t)) \
    X(MouseUpMultiProc, void, (void* module, intptr_t, intptr_t, intptr_t, intptr_t))   \
    X(OpenEditor, void, (void* module))                                                 \
    X(BringToFront, void, (void* module))                                               \
    X(CloseEditor, void, (void* module))                                                \
    X(ResizeEditor, void, (void* module, intptr_t, intptr_t))                           \
    X(OnBlocSizeChange, void, (void* module, int32_t))                                  \
    X(OnSampleRateChange, void, (void* module, double))                                 \
    X(SetRecordedValue, void, (void* module, float, float, float))

struct Exports {
#define QEVHOST_EXPORT_MEMBER(name, result, params) result(*name) params = nullptr;
    QEVHOST_EXPORT_LIST(QEVHOST_EXPORT_MEMBER)
#undef QEVHOST_EXPORT_MEMBER
};

// The names of the 34 exports, in the order above.
extern const std::array<const char*, 34> kExportNames;

}  // namespace qevhost
