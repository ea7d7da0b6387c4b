// The frame through the real exports of a plug-in built around RecordingModule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>
#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

#include "environment_variable.h"
#include "qevplatform/shared_library.h"
#include "recording_module.h"

namespace qev::test {
namespace {

using qevhost::platform::closeLibrary;
using qevhost::platform::findSymbol;
using qevhost::platform::openLibrary;

std::vector<std::string> reports;
void recordReport(const char* text) {
    reports.emplace_back(text);
}
int32_t answerLookup(int32_t key) {
    return key + 1000;
}

template <typename Function>
Function exportOf(void* library, const char* name) {
    void* symbol = findSymbol(library, name);
    EXPECT_NE(symbol, nullptr) << name;
    return reinterpret_cast<Function>(symbol);
}

class Frame : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        library = openLibrary(QEV_RECORDING_PLUGIN, error);
        ASSERT_NE(library, nullptr) << error;
        std::memset(&host, 0, sizeof host);
        host.reportError = recordReport;
        host.lookupHostValue = answerLookup;
        std::memset(&info, 0xA5, sizeof info);
        reports.clear();
        exportOf<void (*)(UserModuleBase**)>(library, "Create")(&object);
        ASSERT_NE(object, nullptr);
        module = static_cast<RecordingModule*>(object);
    }

    void TearDown() override {
        exportOf<void (*)(UserModuleBase*)>(library, "Destroy")(object);
        closeLibrary(library);
    }

    template <typename Function>
    Function call(const char* name) {
        return exportOf<Function>(library, name);
    }

    void giveHostInfo() {
        call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*)>("GetModuleInfo")(object, &host,
                                                                                 &info);
        module->callCount = 0;
    }

    const RecordedCall& lastCall() const { return module->calls[module->callCount - 1]; }

    void callBack(intptr_t paramIndex, intptr_t detail = 0) {
        CallBackMessage message{nullptr, paramIndex, detail};
        call<void (*)(UserModuleBase*, CallBackMessage*)>("CallBack")(object, &message);
    }

    void* library = nullptr;
    UserModuleBase* object = nullptr;
    RecordingModule* module = nullptr;
    HostInfo host;
    ModuleInfo info;
};

TEST_F(Frame, VersionAndFreshObject) {
    EXPECT_EQ(call<int32_t (*)()>("GetSDKVersion")(), 601001);
    EXPECT_EQ(module->width, 10.0f);
    EXPECT_EQ(module->height, 10.0f);
    EXPECT_EQ(module->hostInfo, nullptr);
    EXPECT_EQ(module->moduleInfo, nullptr);
}

TEST_F(Frame, CallBackFilter) {
    giveHostInfo();
    for (intptr_t index : {intptr_t{4094}, intptr_t{-1}, intptr_t{0}}) {
        module->callCount = 0;
        callBack(index, 3);
        ASSERT_EQ(module->callCount, 1) << index;
        EXPECT_EQ(lastCall().args[0], index);
        EXPECT_EQ(lastCall().args[1], 3);
    }
    module->callCount = 0;
    for (intptr_t index : {intptr_t{4095}, intptr_t{5000}}) callBack(index);
    EXPECT_EQ(module->callCount, 0);
    call<void (*)(UserModuleBase*, CallBackMessage*)>("CallBack")(object, nullptr);
    EXPECT_EQ(module->callCount, 0);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Frame, CallBackExceptionIsReportedOnce) {
    giveHostInfo();
    module->throwingSlots = uint64_t{1} << 7;
    callBack(2);
    EXPECT_EQ(reports, std::vector<std::string>{" in CallBack"});
}

TEST_F(Frame, ResultsAfterExceptions) {
    giveHostInfo();
    auto numberOfParams = call<int32_t (*)(UserModuleBase*, int32_t)>("GetNumberOfParams");
    auto chunkLen = call<int32_t (*)(UserModuleBase*, intptr_t)>("GetChunkLen");
    EXPECT_EQ(numberOfParams(object, 0), RecordingModule::kParams);
    EXPECT_EQ(chunkLen(object, 5), 0);
    module->throwingSlots = (uint64_t{1} << 2) | (uint64_t{1} << 11);
    EXPECT_EQ(numberOfParams(object, 0), -1);
    EXPECT_EQ(chunkLen(object, 5), -1);
    EXPECT_EQ(reports, (std::vector<std::string>{" in GetNumberOfParams", " in GetChunkLen"}));
}

TEST_F(Frame, ExceptionWithoutHostInfoIsSwallowedSilently) {
    module->throwingSlots = ~uint64_t{0};
    call<void (*)(UserModuleBase*)>("Process")(object);
    callBack(1);
    EXPECT_EQ(call<int32_t (*)(UserModuleBase*, intptr_t)>("GetChunkLen")(object, 0), -1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Frame, ArgumentsArriveUnchanged) {
    giveHostInfo();
    call<void (*)(UserModuleBase*, intptr_t, intptr_t, intptr_t)>("SetChunk")(object, 11, 22, 33);
    EXPECT_EQ(lastCall().slot, 13);
    EXPECT_EQ(lastCall().args[0], 11);
    EXPECT_EQ(lastCall().args[1], 33);  // the host's second and third arguments swap places
    EXPECT_EQ(lastCall().args[2], 22);

    call<void (*)(UserModuleBase*, int32_t, int32_t, float, float)>("MouseDown")(object, 1, 2, 3.5f,
                                                                                 -4.25f);
    EXPECT_EQ(lastCall().slot, 20);
    EXPECT_EQ(lastCall().args[1], 2);
    EXPECT_EQ(lastCall().floats[1], -4.25f);

    call<void (*)(UserModuleBase*, intptr_t, intptr_t, intptr_t, intptr_t)>("MouseUpMultiProc")(
        object, 5, 6, 7, -8);
    EXPECT_EQ(lastCall().slot, 24);
    EXPECT_EQ(lastCall().args[3], -8);

    call<void (*)(UserModuleBase*, double)>("OnSampleRateChange")(object, 44100.5);
    EXPECT_EQ(lastCall().real, 44100.5);

    call<void (*)(UserModuleBase*, float, float, float)>("SetRecordedValue")(object, 1, 2, 3);
    EXPECT_EQ(lastCall().floats[2], 3.0f);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Frame, ResizeStoresTheSizeEvenWhenTheOperationThrows) {
    giveHostInfo();
    module->throwingSlots = uint64_t{1} << 16;
    call<void (*)(UserModuleBase*, float, float)>("Resize")(object, 320.0f, 200.0f);
    EXPECT_EQ(module->width, 320.0f);
    EXPECT_EQ(module->height, 200.0f);
    EXPECT_EQ(reports, std::vector<std::string>{" in Resize"});
}

TEST_F(Frame, NullRecordsKeepStoredPointers) {
    giveHostInfo();
    ModuleInfo other;
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*)>("GetModuleInfo")(object, nullptr,
                                                                             &other);
    EXPECT_EQ(module->hostInfo, &host);
    EXPECT_EQ(module->moduleInfo, &other);
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*)>("InitModule")(object, nullptr, nullptr);
    EXPECT_EQ(lastCall().slot, 4);
    EXPECT_EQ(lastCall().pointers[0], &host);
    EXPECT_EQ(lastCall().pointers[1], &other);

    // Null records from a careless host make the call do nothing.
    module->callCount = 0;
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*)>("GetModuleInfo")(object, &host,
                                                                             nullptr);
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*, int32_t)>("AfterQuery")(object, &host,
                                                                                   nullptr, 0);
    call<void (*)(UserModuleBase*, int32_t, ParamInfo*)>("GetParamInfo")(object, 0, nullptr);
    call<void (*)(UserModuleBase**)>("Create")(nullptr);
    EXPECT_EQ(module->callCount, 0);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Frame, AfterQueryWritesTheCountBeforeTheOperationRuns) {
    giveHostInfo();
    ModuleInfo passed;
    std::memset(&passed, 0, sizeof passed);
    module->numberOfParamsAnswer = 42;
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*, int32_t)>("AfterQuery")(object, &host,
                                                                                   &passed, 9);
    EXPECT_EQ(passed.numberOfParams, 42);
    ASSERT_EQ(module->callCount, 2);
    EXPECT_EQ(module->calls[0].slot, 2);
    EXPECT_EQ(module->calls[0].args[0], 9);
    EXPECT_EQ(module->calls[1].slot, 3);
    EXPECT_EQ(module->calls[1].paramsSeenInInfo, 42);

    // With the default answer the count is the one onGetModuleInfo wrote.
    module->numberOfParamsAnswer = 0;
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*, int32_t)>("AfterQuery")(object, &host,
                                                                                   &info, 0);
    EXPECT_EQ(info.numberOfParams, RecordingModule::kParams);

    module->throwingSlots = uint64_t{1} << 2;
    call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*, int32_t)>("AfterQuery")(object, &host,
                                                                                   &passed, 0);
    EXPECT_EQ(reports, std::vector<std::string>{" in AfterQuery"});
}

// Every forwarding export reports its own name once when its operation throws, and returns.
TEST_F(Frame, EveryExportReportsItsOwnName) {
    giveHostInfo();
    module->throwingSlots = ~uint64_t{0};
    ParamInfo param;
    const std::vector<std::pair<std::string, std::function<void()>>> exports = {
        {"GetModuleInfo",
         [&] {
             call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*)>("GetModuleInfo")(object, &host,
                                                                                      &info);
         }},
        {"InitModule",
         [&] {
             call<void (*)(UserModuleBase*, HostInfo*, ModuleInfo*)>("InitModule")(object, &host,
                                                                                   &info);
         }},
        {"GetParamInfo",
         [&] {
             call<void (*)(UserModuleBase*, int32_t, ParamInfo*)>("GetParamInfo")(object, 0,
                                                                                  &param);
         }},
        {"SetEventAddress",
         [&] {
             call<void (*)(UserModuleBase*, int32_t, EventHandle)>("SetEventAddress")(object, 0,
                                                                                      nullptr);
         }},
        {"Process", [&] { call<void (*)(UserModuleBase*)>("Process")(object); }},
        {"MidiSendOut",
         [&] { call<void (*)(UserModuleBase*, intptr_t, int32_t)>("MidiSendOut")(object, 0, 0); }},
        {"MidiSysexSendOut",
         [&] {
             call<void (*)(UserModuleBase*, intptr_t, intptr_t)>("MidiSysexSendOut")(object, 0, 0);
         }},
        {"GetChunk",
         [&] { call<void (*)(UserModuleBase*, intptr_t, intptr_t)>("GetChunk")(object, 0, 0); }},
        {"CreateSettings", [&] { call<void (*)(UserModuleBase*)>("CreateSettings")(object); }},
        {"CreateCommands", [&] { call<void (*)(UserModuleBase*)>("CreateCommands")(object); }},
        {"SettingsHasChanged",
         [&] { call<void (*)(UserModuleBase*)>("SettingsHasChanged")(object); }},
        {"Paint", [&] { call<void (*)(UserModuleBase*)>("Paint")(object); }},
        {"MouseMove",
         [&] {
             call<void (*)(UserModuleBase*, int32_t, float, float)>("MouseMove")(object, 0, 0, 0);
         }},
        {"MouseUp",
         [&] {
             call<void (*)(UserModuleBase*, int32_t, int32_t, float, float)>("MouseUp")(object, 0,
                                                                                        0, 0, 0);
         }},
        {"MouseMoveMultiProc",
         [&] {
             call<void (*)(UserModuleBase*, intptr_t, intptr_t, intptr_t)>("MouseMoveMultiProc")(
                 object, 0, 0, 0);
         }},
        {"MouseDownMultiProc",
         [&] {
             call<void (*)(UserModuleBase*, intptr_t, intptr_t, intptr_t, intptr_t)>(
                 "MouseDownMultiProc")(object, 0, 0, 0, 0);
         }},
        {"OpenEditor", [&] { call<void (*)(UserModuleBase*)>("OpenEditor")(object); }},
        {"BringToFront", [&] { call<void (*)(UserModuleBase*)>("BringToFront")(object); }},
        {"CloseEditor", [&] { call<void (*)(UserModuleBase*)>("CloseEditor")(object); }},
        {"ResizeEditor",
         [&] {
             call<void (*)(UserModuleBase*, intptr_t, intptr_t)>("ResizeEditor")(object, 0, 0);
         }},
        {"OnBlocSizeChange",
         [&] { call<void (*)(UserModuleBase*, int32_t)>("OnBlocSizeChange")(object, 64); }},
    };
    for (const auto& [name, invoke] : exports) {
        reports.clear();
        invoke();
        EXPECT_EQ(reports, std::vector<std::string>{" in " + name});
    }
}

TEST_F(Frame, DestroyOfNullDoesNothing) {
    giveHostInfo();
    call<void (*)(UserModuleBase*)>("Destroy")(nullptr);
    call<void (*)(UserModuleBase*)>("Process")(nullptr);
    EXPECT_TRUE(reports.empty());
}

#if defined(__x86_64__) || defined(__i386__)
// The caller's MXCSR (and x87 control word on 32-bit x86), with a throwing call too.
struct CallerEnvironment {
    unsigned mxcsr = _mm_getcsr();
    uint16_t x87 = 0;
    CallerEnvironment() {
#if defined(__i386__)
        __asm__ volatile("fnstcw %0" : "=m"(x87));
#endif
    }
    void set() const {
        _mm_setcsr(mxcsr);
#if defined(__i386__)
        __asm__ volatile("fldcw %0" : : "m"(x87));
#endif
    }
};

TEST_F(Frame, ComputesInItsOwnFpEnvironment) {
    giveHostInfo();
    auto process = call<void (*)(UserModuleBase*)>("Process");
    process(object);
    const RecordedCall reference = lastCall();
    EXPECT_NE(reference.floats[0], 0.0f);

    const CallerEnvironment own;
    CallerEnvironment host = own;
    host.mxcsr = (own.mxcsr & ~0x603fu) | 0x8040u | 0x2000u | 0x0001u;  // FTZ, DAZ, down, a flag
    host.x87 = static_cast<uint16_t>(own.x87 & ~0x0300u);               // 24-bit precision
    for (uint64_t throwing : {uint64_t{0}, uint64_t{1} << 8}) {
        module->throwingSlots = throwing;
        host.set();
        process(object);
        const CallerEnvironment after;
        own.set();
        // Control bits as set, the caller's flag kept; the call may raise others.
        EXPECT_EQ(after.mxcsr & ~0x3eu, host.mxcsr & ~0x3eu) << throwing;
        EXPECT_EQ(after.x87, host.x87) << throwing;
        EXPECT_EQ(std::memcmp(&lastCall().real, &reference.real, sizeof reference.real), 0);
        EXPECT_EQ(lastCall().floats[0], reference.floats[0]);
    }
}
#endif

TEST(FrameCreate, FailedConstructionGivesNullObject) {
    std::string error;
    void* library = openLibrary(QEV_RECORDING_PLUGIN, error);
    ASSERT_NE(library, nullptr) << error;
    auto create = exportOf<void (*)(UserModuleBase**)>(library, "Create");
    setVariable("QEV_TEST_CREATE_FAILS", "1");
    UserModuleBase* object = reinterpret_cast<UserModuleBase*>(&library);
    create(&object);
    clearVariable("QEV_TEST_CREATE_FAILS");
    EXPECT_EQ(object, nullptr);
    closeLibrary(library);
}

}  // namespace
}  // namespace qev::test
