// The host driving the probe plug-in: description read from its own layouts, the services, the
// array-length guard, fault detection in host-owned bytes and report routing.
#include <gtest/gtest.h>

#include <thread>

#include "environment_variable.h"
#include "qevhost/errors.h"
#include "qevhost/module.h"

using namespace qevhost;

namespace {

// Makes the probe's Create answer null.
void setCreateNull(bool on) {
    if (on) {
        qev::test::setVariable("QEV_PROBE_CREATE_NULL", "1");
    } else {
        qev::test::clearVariable("QEV_PROBE_CREATE_NULL");
    }
}

// CallBack codes the probe acts on (see probe_plugin.cpp).
enum : intptr_t {
    kResize = 100,
    kWriteElement = 101,
    kReportTwice = 102,
    kSpoilHostInfo = 103,
    kSpoilMessage = 104,
    kUnknownHandle = 105,
    kSpoilModuleInfo = 106,
};
constexpr int32_t kGain = 0, kLevel = 1, kTable = 2;

class ProbeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin = Plugin::open(PROBE_PLUGIN);
        module = std::make_unique<Module>(*plugin);
        module->start();
    }
    bool hostErrorMentions(const std::string& text) const {
        for (const auto& e : module->hostErrors()) {
            if (e.find(text) != std::string::npos) return true;
        }
        return false;
    }
    std::unique_ptr<Plugin> plugin;
    std::unique_ptr<Module> module;
};

}  // namespace

TEST_F(ProbeTest, DescriptionReadsWhatTheModuleWrote) {
    const ModuleDescription& d = module->description();
    EXPECT_EQ(d.name, "Probe");
    EXPECT_EQ(d.description, "Host Probe");
    EXPECT_EQ(d.version, "1.0");
    EXPECT_EQ(d.moduleType, 3);
    EXPECT_EQ(d.hostLookup, kHostLookupAnswer);
    EXPECT_EQ(d.numberOfParams, 4);
    EXPECT_TRUE(d.hostBytesOverwritten.empty());
    ASSERT_EQ(d.params.size(), 4u);

    const ParamDescription& gain = d.params[kGain];
    EXPECT_EQ(gain.caption, "Gain");
    EXPECT_EQ(gain.paramType, NumberBox);
    EXPECT_TRUE(gain.input());
    EXPECT_FALSE(gain.output());
    EXPECT_EQ(gain.format, "%.3f");
    EXPECT_EQ(gain.maxValue, 10.0f);
    EXPECT_EQ(gain.defaultValue, 2.0f);
    EXPECT_EQ(gain.settingFlag, 0);
    EXPECT_EQ(gain.modeCode, 2);
    EXPECT_EQ(gain.startsGroup, 1);
    EXPECT_FALSE(gain.listItems);

    // Fields the module leaves alone keep the host's sentinel and read as absent.
    const ParamDescription& level = d.params[kLevel];
    EXPECT_TRUE(level.output());
    EXPECT_FALSE(level.settingFlag);
    EXPECT_FALSE(level.modeCode);
    EXPECT_FALSE(level.startsGroup);
    EXPECT_TRUE(level.hostBytesOverwritten.empty());
    EXPECT_EQ(d.params[kTable].paramType, DataArray);
}

TEST_F(ProbeTest, WritesIntoHostOwnedParamInfoBytesAreCaught) {
    const ParamDescription& sloppy = module->description().params[3];
    const std::size_t reserved = sizeof(void*) == 4 ? 20 : 24;
    EXPECT_EQ(sloppy.hostBytesOverwritten, (std::vector<std::size_t>{reserved, reserved + 1}));
    EXPECT_TRUE(hostErrorMentions("GetParamInfo(3) overwrote host-owned ParamInfo bytes"));
}

TEST_F(ProbeTest, IndicesOutsideTheModuleLeaveTheRecordUntouched) {
    EXPECT_TRUE(module->queryParam(4).untouched);
    EXPECT_TRUE(module->queryParam(-1).untouched);
    EXPECT_FALSE(module->queryParam(0).untouched);
}

TEST_F(ProbeTest, WiringStartsFromDefaultsAndProcessUsesTheHandles) {
    EXPECT_EQ(module->value(kGain), 2.0f);
    EXPECT_EQ(module->arrayLength(kTable), 4);
    module->clearCalls();
    module->setValue(kGain, 1.25f);
    module->process();
    EXPECT_EQ(module->value(kLevel), 2.5f);
    ASSERT_EQ(module->calls().size(), 2u);
    EXPECT_EQ(module->calls()[0].service, Service::GetEventValue);
    EXPECT_EQ(module->calls()[0].param, kGain);
    EXPECT_EQ(module->calls()[0].floatArg, 1.25f);
    EXPECT_EQ(module->calls()[1].service, Service::SetEventValue);
    EXPECT_EQ(module->calls()[1].param, kLevel);
    EXPECT_EQ(module->calls()[1].floatArg, 2.5f);
}

TEST_F(ProbeTest, ArrayWritesAreGuardedByTheLengthLastSet) {
    module->callBack(kWriteElement, 3);
    EXPECT_EQ(module->array(kTable), (std::vector<float>{0, 0, 0, 7.5f}));
    EXPECT_FALSE(hostErrorMentions("setEventArrayValue"));

    module->callBack(kWriteElement, 4);  // at the length: recorded, not performed
    module->callBack(kWriteElement, -1);
    EXPECT_EQ(module->array(kTable), (std::vector<float>{0, 0, 0, 7.5f}));
    EXPECT_TRUE(hostErrorMentions("setEventArrayValue index 4 outside length 4"));
    EXPECT_TRUE(hostErrorMentions("setEventArrayValue index -1 outside length 4"));

    module->callBack(kResize, -3);  // refused: the length stays
    EXPECT_EQ(module->arrayLength(kTable), 4);
    EXPECT_TRUE(hostErrorMentions("setEventSize(-3)"));

    module->callBack(kResize, 2);
    EXPECT_EQ(module->array(kTable), (std::vector<float>{0, 0}));
    module->callBack(kWriteElement, 2);
    EXPECT_TRUE(hostErrorMentions("index 2 outside length 2"));
    module->callBack(kResize, 0);
    EXPECT_EQ(module->arrayLength(kTable), 0);
    EXPECT_TRUE(module->array(kTable).empty());
}

TEST_F(ProbeTest, ReportsArriveInOrderOnTheListenerOutsideModuleCode) {
    std::vector<std::string> heard;
    bool moduleCodeDuringService = true;
    Module* routedTo = nullptr;
    module->setReportListener([&](const std::string& text) {
        heard.push_back(text);
        moduleCodeDuringService = moduleCodeRunning();
        routedTo = currentModule();
    });
    EXPECT_FALSE(moduleCodeRunning());
    module->callBack(kReportTwice);
    EXPECT_EQ(module->reports(), (std::vector<std::string>{"probe: first", "probe: second"}));
    EXPECT_EQ(heard, module->reports());
    EXPECT_FALSE(moduleCodeDuringService);
    EXPECT_EQ(routedTo, module.get());
    EXPECT_EQ(currentModule(), nullptr);
}

TEST_F(ProbeTest, StrayWritesIntoHostRecordsAreCaught) {
    module->callBack(kSpoilHostInfo);
    EXPECT_TRUE(hostErrorMentions("CallBack overwrote HostInfo bytes 1"));
    module->callBack(kSpoilMessage);
    EXPECT_TRUE(hostErrorMentions("CallBack wrote into its CallBackMessage"));
    module->callBack(kSpoilModuleInfo);
    EXPECT_TRUE(hostErrorMentions("CallBack wrote into ModuleInfo"));
    module->callBack(kUnknownHandle);
    EXPECT_TRUE(hostErrorMentions("setEventValue with an unknown handle"));
    // HostInfo is restored, so the services still work afterwards.
    module->process();
    EXPECT_EQ(module->value(kLevel), 4.0f);
}

TEST_F(ProbeTest, RawExportCallsRouteThroughACallScope) {
    {
        ModuleCallScope scope(*module);
        EXPECT_TRUE(moduleCodeRunning());
        EXPECT_EQ(module->exports().GetChunkLen(module->object(), 0), 17);
    }
    EXPECT_FALSE(moduleCodeRunning());
}

TEST(ProbeModule, NullObjectFromCreateIsAModuleError) {
    auto plugin = Plugin::open(PROBE_PLUGIN);
    setCreateNull(true);
    EXPECT_THROW(Module module(*plugin), ModuleError);
    setCreateNull(false);
    EXPECT_NO_THROW(Module module(*plugin));
}

TEST(ProbeModule, TwoModulesOnTwoThreadsKeepTheirOwnReports) {
    auto plugin = Plugin::open(PROBE_PLUGIN);
    Module first(*plugin), second(*plugin);
    first.start();
    second.start();
    auto drive = [](Module& m, int rounds) {
        for (int i = 0; i < rounds; ++i) m.callBack(kReportTwice);
    };
    std::thread a(drive, std::ref(first), 300), b(drive, std::ref(second), 200);
    a.join();
    b.join();
    EXPECT_EQ(first.reports().size(), 600u);
    EXPECT_EQ(second.reports().size(), 400u);
}
