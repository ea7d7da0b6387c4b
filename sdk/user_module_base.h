// UserModuleBase: the module object behind every entry point. Each export forwards to one virtual
// operation here; a module class overrides those it needs. The slot order is part of the interface
// with the host's tooling, so new operations are never inserted.
#pragma once

#include <cstdint>

#include "host_info.h"
#include "host_records.h"

namespace qev {

class UserModuleBase {
  public:
    UserModuleBase() = default;
    UserModuleBase(const UserModuleBase&) = delete;
    UserModuleBase& operator=(const UserModuleBase&) = delete;

    virtual ~UserModuleBase();                                           // slot 0
    virtual void onGetModuleInfo(HostInfo* host, ModuleInfo* info) = 0;  // 1, main thread
    virtual int32_t onGetNumberOfParams(int32_t queryResult);            // 2, main thread
    virtual void onAfterQuery(HostInfo* host, ModuleInfo* info, int32_t queryResult);  // 3
    virtual void onInitModule(HostInfo* host, ModuleInfo* info);        // 4, main thread
    virtual void onGetParamInfo(int32_t index, ParamInfo* param) = 0;   // 5, main thread
    virtual void onSetEventAddress(int32_t index, EventHandle handle);  // 6, main thread
    virtual void onCallBack(CallBackMessage* message);                  // 7, any thread
    virtual void onProcess();                                           // 8, audio thread
    virtual void onMidiSendOut(intptr_t port, int32_t message);         // 9
    virtual void onMidiSysexSendOut(intptr_t port, intptr_t data);      // 10
    virtual int32_t onGetChunkLen(intptr_t chunkName);                  // 11
    virtual void onGetChunk(intptr_t chunkName, intptr_t chunk);        // 12
    virtual void onSetChunk(intptr_t chunk, intptr_t chunkName, intptr_t length);       // 13
    virtual void onCreateSettings();                                                    // 14
    virtual void onSettingsHasChanged();                                                // 15
    virtual void onResize(float newWidth, float newHeight);                             // 16
    virtual void onPaint();                                                             // 17
    virtual void onCreateCommands();                                                    // 18
    virtual void onMouseMove(int32_t shift, float x, float y);                          // 19
    virtual void onMouseDown(int32_t button, int32_t shift, float x, float y);          // 20
    virtual void onMouseUp(int32_t button, int32_t shift, float x, float y);            // 21
    virtual void onMouseMoveMultiProc(intptr_t a, intptr_t b, intptr_t c);              // 22
    virtual void onMouseDownMultiProc(intptr_t a, intptr_t b, intptr_t c, intptr_t d);  // 23
    virtual void onMouseUpMultiProc(intptr_t a, intptr_t b, intptr_t c, intptr_t d);    // 24
    virtual void onOpenEditor();                                                        // 25
    virtual void onBringToFront();                                                      // 26
    virtual void onCloseEditor();                                                       // 27
    virtual void onResizeEditor(intptr_t newWidth, intptr_t newHeight);                 // 28
    virtual void onBlocSizeChange(int32_t blocSize);                                    // 29
    virtual void onSampleRateChange(double sampleRate);                                 // 30
    virtual void onSetRecordedValue(float a, float b, float c);                         // 31

    // Keeps each non-null pointer; a null one leaves the stored pointer as it was.
    void storeHostRecords(HostInfo* host, ModuleInfo* info);

    // The callback filter: messages about parameter 4095 or above never reach onCallBack; an
    // exception from onCallBack is reported once as " in CallBack".
    void guardedCallBack(CallBackMessage* message);

    float width = 10.0f;               // last width handed to Resize
    float height = 10.0f;              // last height handed to Resize
    HostInfo* hostInfo = nullptr;      // the host's services, once a call brought them
    ModuleInfo* moduleInfo = nullptr;  // the description record, once a call brought it
};

// Reports a failure text to the host when it can be reached (a HostInfo is held).
void reportToHost(const UserModuleBase& module, const char* text) noexcept;

// Defined once per plug-in: allocates that plug-in's module class.
UserModuleBase* createModule();

}  // namespace qev
