#include "recording_module.h"

#include <cstdlib>
#include <stdexcept>

namespace qev {

UserModuleBase* createModule() {
    // Lets a test see Create answer a null object when construction fails.
    if (std::getenv("QEV_TEST_CREATE_FAILS")) throw std::runtime_error("construction failed");
    return new test::RecordingModule();
}

namespace test {

namespace {
struct SlotFailure {};  // deliberately not a std::exception: the frame must catch anything
}  // namespace

RecordedCall& RecordingModule::record(int slot) {
    RecordedCall& call = calls[callCount < kMaxCalls ? callCount++ : kMaxCalls - 1];
    call = RecordedCall{};
    call.slot = slot;
    return call;
}

#define QEV_THROW_IF_ASKED(slot)                                     \
    if (throwingSlots & (uint64_t{1} << (slot))) throw SlotFailure { \
        }

void RecordingModule::onGetModuleInfo(HostInfo* host, ModuleInfo* info) {
    RecordedCall& call = record(1);
    call.pointers[0] = host;
    call.pointers[1] = info;
    info->numberOfParams = kParams;
    QEV_THROW_IF_ASKED(1);
}

int32_t RecordingModule::onGetNumberOfParams(int32_t queryResult) {
    record(2).args[0] = queryResult;
    QEV_THROW_IF_ASKED(2);
    return numberOfParamsAnswer ? numberOfParamsAnswer
                                : UserModuleBase::onGetNumberOfParams(queryResult);
}

void RecordingModule::onAfterQuery(HostInfo* host, ModuleInfo* info, int32_t queryResult) {
    RecordedCall& call = record(3);
    call.pointers[0] = host;
    call.pointers[1] = info;
    call.args[0] = queryResult;
    call.paramsSeenInInfo = info ? info->numberOfParams : -1;
    QEV_THROW_IF_ASKED(3);
}

void RecordingModule::onInitModule(HostInfo* host, ModuleInfo* info) {
    RecordedCall& call = record(4);
    call.pointers[0] = host;
    call.pointers[1] = info;
    QEV_THROW_IF_ASKED(4);
}

void RecordingModule::onGetParamInfo(int32_t index, ParamInfo* param) {
    RecordedCall& call = record(5);
    call.args[0] = index;
    call.pointers[0] = param;
    QEV_THROW_IF_ASKED(5);
}

void RecordingModule::onSetEventAddress(int32_t index, EventHandle handle) {
    RecordedCall& call = record(6);
    call.args[0] = index;
    call.pointers[0] = handle;
    QEV_THROW_IF_ASKED(6);
}

void RecordingModule::onCallBack(CallBackMessage* message) {
    RecordedCall& call = record(7);
    call.args[0] = message->paramIndex;
    call.args[1] = message->messageDetail;
    QEV_THROW_IF_ASKED(7);
}

// Also computes a quotient whose last bit follows the rounding mode and a product of a subnormal
// number, which flush-to-zero and denormals-are-zero turn into 0.
void RecordingModule::onProcess() {
    RecordedCall& call = record(8);
    volatile double one = 1.0, ten = 10.0;
    volatile float tiny = 1e-40f;
    call.real = one / ten;
    call.floats[0] = tiny * 1.5f;
    QEV_THROW_IF_ASKED(8);
}

void RecordingModule::onMidiSendOut(intptr_t port, int32_t message) {
    RecordedCall& call = record(9);
    call.args[0] = port;
    call.args[1] = message;
    QEV_THROW_IF_ASKED(9);
}

void RecordingModule::onMidiSysexSendOut(intptr_t port, intptr_t data) {
    RecordedCall& call = record(10);
    call.args[0] = port;
    call.args[1] = data;
    QEV_THROW_IF_ASKED(10);
}

int32_t RecordingModule::onGetChunkLen(intptr_t chunkName) {
    record(11).args[0] = chunkName;
    QEV_THROW_IF_ASKED(11);
    return UserModuleBase::onGetChunkLen(chunkName);
}

void RecordingModule::onGetChunk(intptr_t chunkName, intptr_t chunk) {
    RecordedCall& call = record(12);
    call.args[0] = chunkName;
    call.args[1] = chunk;
    QEV_THROW_IF_ASKED(12);
}

void RecordingModule::onSetChunk(intptr_t chunk, intptr_t chunkName, intptr_t length) {
    RecordedCall& call = record(13);
    call.args[0] = chunk;
    call.args[1] = chunkName;
    call.args[2] = length;
    QEV_THROW_IF_ASKED(13);
}

void RecordingModule::onCreateSettings() {
    record(14);
    QEV_THROW_IF_ASKED(14);
}

void RecordingModule::onSettingsHasChanged() {
    record(15);
    QEV_THROW_IF_ASKED(15);
}

void RecordingModule::onResize(float newWidth, float newHeight) {
    RecordedCall& call = record(16);
    call.floats[0] = newWidth;
    call.floats[1] = newHeight;
    QEV_THROW_IF_ASKED(16);
}

void RecordingModule::onPaint() {
    record(17);
    QEV_THROW_IF_ASKED(17);
}

void RecordingModule::onCreateCommands() {
    record(18);
    QEV_THROW_IF_ASKED(18);
}

void RecordingModule::onMouseMove(int32_t shift, float x, float y) {
    RecordedCall& call = record(19);
    call.args[0] = shift;
    call.floats[0] = x;
    call.floats[1] = y;
    QEV_THROW_IF_ASKED(19);
}

void RecordingModule::onMouseDown(int32_t button, int32_t shift, float x, float y) {
    RecordedCall& call = record(20);
    call.args[0] = button;
    call.args[1] = shift;
    call.floats[0] = x;
    call.floats[1] = y;
    QEV_THROW_IF_ASKED(20);
}

void RecordingModule::onMouseUp(int32_t button, int32_t shift, float x, float y) {
    RecordedCall& call = record(21);
    call.args[0] = button;
    call.args[1] = shift;
    call.floats[0] = x;
    call.floats[1] = y;
    QEV_THROW_IF_ASKED(21);
}

void RecordingModule::onMouseMoveMultiProc(intptr_t a, intptr_t b, intptr_t c) {
    RecordedCall& call = record(22);
    call.args[0] = a;
    call.args[1] = b;
    call.args[2] = c;
    QEV_THROW_IF_ASKED(22);
}

void RecordingModule::onMouseDownMultiProc(intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    RecordedCall& call = record(23);
    call.args[0] = a;
    call.args[1] = b;
    call.args[2] = c;
    call.args[3] = d;
    QEV_THROW_IF_ASKED(23);
}

void RecordingModule::onMouseUpMultiProc(intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    RecordedCall& call = record(24);
    call.args[0] = a;
    call.args[1] = b;
    call.args[2] = c;
    call.args[3] = d;
    QEV_THROW_IF_ASKED(24);
}

void RecordingModule::onOpenEditor() {
    record(25);
    QEV_THROW_IF_ASKED(25);
}

void RecordingModule::onBringToFront() {
    record(26);
    QEV_THROW_IF_ASKED(26);
}

void RecordingModule::onCloseEditor() {
    record(27);
    QEV_THROW_IF_ASKED(27);
}

void RecordingModule::onResizeEditor(intptr_t newWidth, intptr_t newHeight) {
    RecordedCall& call = record(28);
    call.args[0] = newWidth;
    call.args[1] = newHeight;
    QEV_THROW_IF_ASKED(28);
}

void RecordingModule::onBlocSizeChange(int32_t blocSize) {
    record(29).args[0] = blocSize;
    QEV_THROW_IF_ASKED(29);
}

void RecordingModule::onSampleRateChange(double sampleRate) {
    record(30).real = sampleRate;
    QEV_THROW_IF_ASKED(30);
}

void RecordingModule::onSetRecordedValue(float a, float b, float c) {
    RecordedCall& call = record(31);
    call.floats[0] = a;
    call.floats[1] = b;
    call.floats[2] = c;
    QEV_THROW_IF_ASKED(31);
}

}  // namespace test
}  // namespace qev
