// A test-only module class: records every virtual operation it receives and throws from any
// slot on demand. The test reads its fields straight from the object (same header, same layout);
// plain arrays only, since the plug-in carries its own C++ runtime.
#pragma once

#include <cstdint>

#include "user_module_base.h"

namespace qev::test {

struct RecordedCall {
    int slot = -1;
    intptr_t args[4] = {};
    float floats[3] = {};
    double real = 0;
    void* pointers[2] = {};
    int32_t paramsSeenInInfo = 0;  // numberOfParams in the record when onAfterQuery ran
};

class RecordingModule : public UserModuleBase {
  public:
    static constexpr int kMaxCalls = 64;
    static constexpr int32_t kParams = 7;

    ~RecordingModule() override = default;
    void onGetModuleInfo(HostInfo* host, ModuleInfo* info) override;
    int32_t onGetNumberOfParams(int32_t queryResult) override;
    void onAfterQuery(HostInfo* host, ModuleInfo* info, int32_t queryResult) override;
    void onInitModule(HostInfo* host, ModuleInfo* info) override;
    void onGetParamInfo(int32_t index, ParamInfo* param) override;
    void onSetEventAddress(int32_t index, EventHandle handle) override;
    void onCallBack(CallBackMessage* message) override;
    void onProcess() override;
    void onMidiSendOut(intptr_t port, int32_t message) override;
    void onMidiSysexSendOut(intptr_t port, intptr_t data) override;
    int32_t onGetChunkLen(intptr_t chunkName) override;
    void onGetChunk(intptr_t chunkName, intptr_t chunk) override;
    void onSetChunk(intptr_t chunk, intptr_t chunkName, intptr_t length) override;
    void onCreateSettings() override;
    void onSettingsHasChanged() override;
    void onResize(float newWidth, float newHeight) override;
    void onPaint() override;
    void onCreateCommands() override;
    void onMouseMove(int32_t shift, float x, float y) override;
    void onMouseDown(int32_t button, int32_t shift, float x, float y) override;
    void onMouseUp(int32_t button, int32_t shift, float x, float y) override;
    void onMouseMoveMultiProc(intptr_t a, intptr_t b, intptr_t c) override;
    void onMouseDownMultiProc(intptr_t a, intptr_t b, intptr_t c, intptr_t d) override;
    void onMouseUpMultiProc(intptr_t a, intptr_t b, intptr_t c, intptr_t d) override;
    void onOpenEditor() override;
    void onBringToFront() override;
    void onCloseEditor() override;
    void onResizeEditor(intptr_t newWidth, intptr_t newHeight) override;
    void onBlocSizeChange(int32_t blocSize) override;
    void onSampleRateChange(double sampleRate) override;
    void onSetRecordedValue(float a, float b, float c) override;

    // Bit n set: slot n throws after recording the call.
    uint64_t throwingSlots = 0;
    // Slot 2 answers this unless it throws; 0 means the base class's default answer.
    int32_t numberOfParamsAnswer = 0;
    int callCount = 0;
    RecordedCall calls[kMaxCalls];

  private:
    RecordedCall& record(int slot);
};

}  // namespace qev::test
