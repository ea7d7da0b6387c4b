#include "module_test_support.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace qevtest {

namespace {

const qevhost::Plugin& loadOnce(std::unique_ptr<qevhost::Plugin>& slot, const char* path) {
    if (!slot) slot = qevhost::Plugin::open(path);
    return *slot;
}

}  // namespace

const qevhost::Plugin& randomPlugin() {
    static std::unique_ptr<qevhost::Plugin> plugin;
    return loadOnce(plugin, QEV_RANDOM_PLUGIN);
}

const qevhost::Plugin& randomArrayPlugin() {
    static std::unique_ptr<qevhost::Plugin> plugin;
    return loadOnce(plugin, QEV_RANDOM_ARRAY_PLUGIN);
}

std::unique_ptr<qevhost::Module> startedModule(const qevhost::Plugin& plugin,
                                               const std::vector<Setting>& settings) {
    auto module = std::make_unique<qevhost::Module>(plugin);
    module->describe();
    module->wire();
    for (const auto& setting : settings) module->setValue(setting.index, setting.value);
    module->init();
    return module;
}

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

::testing::AssertionResult sameBits(float actual, float expected) {
    if (bitsOf(actual) == bitsOf(expected)) return ::testing::AssertionSuccess();
    char text[128];
    std::snprintf(text, sizeof text, "%.9g (0x%08x) is not %.9g (0x%08x)", actual,
                  static_cast<unsigned>(bitsOf(actual)), expected,
                  static_cast<unsigned>(bitsOf(expected)));
    return ::testing::AssertionFailure() << text;
}

std::vector<std::string> callTrace(const std::vector<qevhost::ServiceCall>& calls) {
    using qevhost::Service;
    std::vector<std::string> trace;
    for (const auto& call : calls) {
        const std::string param = std::to_string(call.param);
        const std::string arg = std::to_string(call.intArg);
        switch (call.service) {
            case Service::GetEventValue:
                trace.push_back("get " + param);
                break;
            case Service::SetEventValue:
                trace.push_back("set " + param);
                break;
            case Service::SetEventSize:
                trace.push_back("size " + param + "=" + arg);
                break;
            case Service::SetEventArrayValue:
                trace.push_back("array " + param + "[" + arg + "]");
                break;
            case Service::LookupHostValue:
                trace.push_back("lookup " + arg);
                break;
            case Service::ReportError:
                trace.push_back("report");
                break;
        }
    }
    return trace;
}

std::size_t countCalls(const std::vector<qevhost::ServiceCall>& calls, qevhost::Service service) {
    std::size_t count = 0;
    for (const auto& call : calls) count += call.service == service;
    return count;
}

const qev::RandomTable& tableFor(int32_t seed) {
    static std::map<int32_t, std::unique_ptr<qev::RandomTable>> tables;
    auto& table = tables[seed];
    if (!table) {
        table = std::make_unique<qev::RandomTable>();
        qev::SeededGenerator generator;
        qev::SeedCache cache;
        table->reseed(seed, generator, cache);
    }
    return *table;
}

void expectRow(const qevhost::ParamDescription& actual, const ExpectedRow& expected) {
    SCOPED_TRACE(std::string("parameter ") + std::to_string(actual.index) + " " + expected.caption);
    auto bits = [](const std::optional<float>& value) -> std::optional<uint32_t> {
        if (!value) return std::nullopt;
        return bitsOf(*value);
    };
    EXPECT_EQ(actual.paramType, expected.type);
    EXPECT_EQ(actual.caption, std::string(expected.caption));
    EXPECT_EQ(actual.isInput, expected.input ? 1 : 0);
    EXPECT_EQ(actual.isOutput, expected.input ? 0 : 1);
    EXPECT_EQ(actual.commonFlag, 1);
    EXPECT_EQ(bits(actual.minValue), expected.minBits);
    EXPECT_EQ(bits(actual.maxValue), expected.maxBits);
    EXPECT_EQ(bits(actual.defaultValue), bits(expected.defaultValue));
    EXPECT_EQ(actual.format, expected.format);
    EXPECT_EQ(actual.settingFlag, expected.settingFlag);
    EXPECT_EQ(actual.modeCode, expected.modeCode);
    EXPECT_EQ(actual.startsGroup, expected.startsGroup);
    EXPECT_EQ(actual.listItems, expected.listItems);
    EXPECT_TRUE(actual.hostBytesOverwritten.empty());
}

}  // namespace qevtest
