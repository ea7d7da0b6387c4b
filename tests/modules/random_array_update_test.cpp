// When Qev RandomArray computes, resizes and reseeds: message sequences in "Automatic Update",
// "Update on Click" and a third mode value, the order of host calls, the count clamps, and hosts
// that call in the wrong order.
#include <initializer_list>
#include <limits>

#include "module_test_support.h"

namespace qevtest {
namespace {

using qevhost::Module;
using qevhost::Service;
using Trace = std::vector<std::string>;

// The reads of one computation, in order.
const Trace kComputeReads = {"get 2", "get 4", "get 3",  "get 5",  "get 6",  "get 7",
                             "get 8", "get 9", "get 10", "get 11", "get 12", "get 13"};

Trace resize(int count) {
    return {"size 14=" + std::to_string(count), "size 15=" + std::to_string(count)};
}

// Element i of "Float Out", then element i of "Integer Out", for i below count.
Trace writes(int count) {
    Trace trace;
    for (int i = 0; i < count; ++i) {
        trace.push_back("array 14[" + std::to_string(i) + "]");
        trace.push_back("array 15[" + std::to_string(i) + "]");
    }
    return trace;
}

Trace join(std::initializer_list<Trace> parts) {
    Trace trace;
    for (const auto& part : parts) trace.insert(trace.end(), part.begin(), part.end());
    return trace;
}

// The host calls one message makes.
Trace traceOf(Module& module, int32_t param, float value) {
    module.clearCalls();
    module.change(param, value);
    return callTrace(module.calls());
}

Trace pressTrace(Module& module) {
    module.clearCalls();
    module.callBack(arr::Calculate);
    return callTrace(module.calls());
}

// "Float Out" of a fresh module after one computation with these settings.
std::vector<float> freshFloats(const std::vector<Setting>& settings) {
    auto module = startedModule(randomArrayPlugin(), settings);
    module->callBack(arr::Calculate);
    return module->array(arr::FloatOut);
}

std::unique_ptr<Module> computedModule() {
    auto module = startedModule(randomArrayPlugin());
    module->callBack(arr::Calculate);
    return module;
}

TEST(RandomArrayInit, SizesBothArraysAndWritesNoElement) {
    Module module(randomArrayPlugin());
    module.describe();
    module.wire();
    module.clearCalls();
    module.init();
    EXPECT_EQ(callTrace(module.calls()), join({{"get 2", "get 13"}, resize(16)}));
    EXPECT_EQ(module.array(arr::FloatOut), std::vector<float>(16, 0.0f));
    EXPECT_EQ(module.array(arr::IntegerOut), std::vector<float>(16, 0.0f));
}

TEST(RandomArrayAutomaticUpdate, SeedMessageReseedsBeforeItsComputation) {
    auto module = computedModule();
    EXPECT_EQ(traceOf(*module, arr::Seed, 7.0f),
              join({{"get 0", "get 2"}, kComputeReads, writes(16)}));
    EXPECT_EQ(module->array(arr::FloatOut), freshFloats({{arr::Seed, 7.0f}}));
}

TEST(RandomArrayAutomaticUpdate, SizeMessageResizesBeforeItsComputation) {
    auto module = computedModule();
    EXPECT_EQ(traceOf(*module, arr::Size, 8.0f),
              join({{"get 0", "get 13"}, resize(8), kComputeReads, writes(8)}));
    EXPECT_EQ(module->arrayLength(arr::FloatOut), 8);
    EXPECT_EQ(module->arrayLength(arr::IntegerOut), 8);
}

TEST(RandomArrayAutomaticUpdate, EveryMessageComputes) {
    auto module = computedModule();
    const Trace compute = join({{"get 0"}, kComputeReads, writes(16)});
    EXPECT_EQ(traceOf(*module, arr::Offset, 5.0f), compute);
    EXPECT_EQ(module->array(arr::FloatOut), freshFloats({{arr::Offset, 5.0f}}));
    EXPECT_EQ(traceOf(*module, arr::Mode, 0.0f), compute);
    EXPECT_EQ(traceOf(*module, arr::FloatOut, 0.0f), compute);
    EXPECT_EQ(pressTrace(*module), compute);
}

TEST(RandomArrayMessages, NonZeroDetailChangesNothingInAnyMode) {
    for (float mode : {0.0f, 1.0f, 2.0f}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        auto module = startedModule(randomArrayPlugin(), {{arr::Mode, mode}});
        module->callBack(arr::Calculate);
        const auto before = module->array(arr::FloatOut);
        module->setValue(arr::Seed, 7.0f);
        module->setValue(arr::Size, 4.0f);
        for (int32_t param : {arr::Mode, arr::Calculate, arr::Seed, arr::Size, arr::Offset}) {
            module->clearCalls();
            module->callBack(param, 1);
            EXPECT_EQ(callTrace(module->calls()), Trace{"get 0"}) << "parameter " << param;
        }
        EXPECT_EQ(module->array(arr::FloatOut), before);

        // Nothing was held back either: the button computes with the old table and length.
        module->setValue(arr::Seed, 42.0f);
        EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(4)}));
        EXPECT_EQ(module->arrayLength(arr::FloatOut), 16);
    }
}

TEST(RandomArrayMessages, IndicesFrom4095NeverArrive) {
    auto module = computedModule();
    module->clearCalls();
    module->callBack(4095);
    module->callBack(5000);
    EXPECT_TRUE(module->calls().empty());
}

TEST(RandomArrayUpdateOnClick, SeedAndSizeWaitForTheButton) {
    auto module = computedModule();
    const auto before = module->array(arr::FloatOut);
    EXPECT_EQ(traceOf(*module, arr::Mode, 1.0f), Trace{"get 0"});
    EXPECT_EQ(traceOf(*module, arr::Seed, 7.0f), Trace{"get 0"});
    EXPECT_EQ(traceOf(*module, arr::Size, 4.0f), Trace{"get 0"});
    EXPECT_EQ(traceOf(*module, arr::Offset, 3.0f), Trace{"get 0"});
    EXPECT_EQ(module->array(arr::FloatOut), before);

    // Resize first, then the rebuilt table, then every element with the current values.
    EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, resize(4), writes(4)}));
    EXPECT_EQ(module->array(arr::FloatOut),
              freshFloats({{arr::Seed, 7.0f}, {arr::Size, 4.0f}, {arr::Offset, 3.0f}}));

    // Applied once: the next press neither resizes nor changes the values.
    const auto after = module->array(arr::FloatOut);
    EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(4)}));
    EXPECT_EQ(module->array(arr::FloatOut), after);
}

TEST(RandomArrayUpdateOnClick, HeldSeedIsReadWhenTheButtonIsPressed) {
    auto module = startedModule(randomArrayPlugin(), {{arr::Mode, 1.0f}});
    module->change(arr::Seed, 7.0f);
    module->setValue(arr::Seed, 9.0f);  // no message
    module->callBack(arr::Calculate);
    EXPECT_EQ(module->array(arr::FloatOut), freshFloats({{arr::Seed, 9.0f}}));
}

TEST(RandomArrayUpdateOnClick, FractionalModeTruncatesToUpdateOnClick) {
    auto module = startedModule(randomArrayPlugin(), {{arr::Mode, 1.7f}});
    EXPECT_EQ(traceOf(*module, arr::Seed, 7.0f), Trace{"get 0"});
}

TEST(RandomArrayUpdateOnClick, SwitchingToAutomaticAppliesHeldChanges) {
    auto module = startedModule(randomArrayPlugin(), {{arr::Mode, 1.0f}});
    module->change(arr::Seed, 7.0f);
    module->change(arr::Size, 4.0f);
    EXPECT_EQ(traceOf(*module, arr::Mode, 0.0f),
              join({{"get 0"}, kComputeReads, resize(4), writes(4)}));
    EXPECT_EQ(module->array(arr::FloatOut), freshFloats({{arr::Seed, 7.0f}, {arr::Size, 4.0f}}));
}

TEST(RandomArrayUpdateOnClick, InitialisationClearsHeldChanges) {
    auto module = startedModule(randomArrayPlugin(), {{arr::Mode, 1.0f}});
    module->change(arr::Seed, 7.0f);
    module->change(arr::Size, 4.0f);
    module->setValue(arr::Seed, 42.0f);
    module->setValue(arr::Size, 16.0f);
    module->init();
    EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(16)}));
    EXPECT_EQ(module->array(arr::FloatOut), freshFloats({}));
}

// 2, and the values that convert to no listed mode: NaN and those beyond the 32-bit range.
TEST(RandomArrayThirdMode, AppliesChangesAtOnceButComputesOnlyOnTheButton) {
    for (float mode : {2.0f, std::numeric_limits<float>::quiet_NaN(), 3e9f, -3e9f}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        auto module = computedModule();
        const auto before = module->array(arr::FloatOut);
        EXPECT_EQ(traceOf(*module, arr::Mode, mode), Trace{"get 0"});
        EXPECT_EQ(traceOf(*module, arr::Seed, 7.0f), (Trace{"get 0", "get 2"}));
        EXPECT_EQ(traceOf(*module, arr::Size, 4.0f), join({{"get 0", "get 13"}, resize(4)}));
        EXPECT_EQ(module->array(arr::FloatOut),
                  std::vector<float>(before.begin(), before.begin() + 4));

        // The table was rebuilt at the seed message, so a later value without a message is unused.
        module->setValue(arr::Seed, 42.0f);
        EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(4)}));
        EXPECT_EQ(module->array(arr::FloatOut),
                  freshFloats({{arr::Seed, 7.0f}, {arr::Size, 4.0f}}));
    }
}

TEST(RandomArrayClamps, WritesStayWithinTheLengthLastSet) {
    auto module = computedModule();
    module->setValue(arr::Size, 32.0f);  // no message: the arrays keep 16 elements
    EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(16)}));
    module->setValue(arr::Size, 40.0f);
    module->callBack(arr::Size, 1);
    EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(16)}));
    module->setValue(arr::Size, 4.0f);  // fewer than the length: only those are written
    EXPECT_EQ(pressTrace(*module), join({{"get 0"}, kComputeReads, writes(4)}));
    EXPECT_EQ(module->arrayLength(arr::FloatOut), 16);
    EXPECT_TRUE(module->hostErrors().empty());
}

TEST(RandomArrayClamps, WildCountsAreBounded) {
    auto module = computedModule();
    for (float size : {5000.0f, 1e30f, std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(traceOf(*module, arr::Size, size),
                  join({{"get 0", "get 13"}, resize(2048), kComputeReads, writes(2048)}))
            << "size " << size;
    }
    EXPECT_EQ(module->arrayLength(arr::FloatOut), 2048);
    EXPECT_EQ(traceOf(*module, arr::Size, std::numeric_limits<float>::quiet_NaN()),
              join({{"get 0", "get 13"}, resize(0), kComputeReads}));
    // Below 0 the host is given an empty array, never a negative length.
    for (float size : {0.0f, -0.99f, -3.0f, -5504.0f, -std::numeric_limits<float>::infinity()}) {
        module->change(arr::Size, 16.0f);
        EXPECT_EQ(traceOf(*module, arr::Size, size),
                  join({{"get 0", "get 13"}, resize(0), kComputeReads}))
            << "size " << size;
        EXPECT_EQ(module->arrayLength(arr::FloatOut), 0);
        EXPECT_EQ(module->arrayLength(arr::IntegerOut), 0);
    }
    EXPECT_TRUE(module->hostErrors().empty());
}

TEST(RandomArrayCalls, FullComputationMakesTwoCallsPerElement) {
    auto module = startedModule(randomArrayPlugin(), {{arr::Size, 2048.0f}, {arr::Octaves, 16.0f}});
    module->clearCalls();
    module->callBack(arr::Calculate);
    EXPECT_EQ(module->calls().size(), 1u + 12u + 2u * 2048u);
    EXPECT_EQ(countCalls(module->calls(), Service::SetEventArrayValue), 2u * 2048u);
    EXPECT_TRUE(module->reports().empty());
}

TEST(RandomArrayCalls, UnwiredHandlesDoNotCrash) {
    Module module(randomArrayPlugin());
    module.describe();
    module.init();
    module.callBack(arr::Calculate);
    module.callBack(arr::Seed);
    module.callBack(arr::Size);
    EXPECT_TRUE(module.reports().empty());
    EXPECT_EQ(countCalls(module.calls(), Service::SetEventArrayValue), 0u);
}

TEST(RandomArrayCalls, NoHostInfoMeansNoCallsAndNoCrash) {
    Module module(randomArrayPlugin());
    qevhost::RecordBuffer message(qevhost::kNativeLayout.callBackMessageEnd);
    message.setPointer(qevhost::kNativeLayout.callBackMessage.messageDetail, 0);
    {
        qevhost::ModuleCallScope scope(module);
        const auto& exports = module.exports();
        for (intptr_t param : {arr::Calculate, arr::Seed, arr::Size}) {
            message.setPointer(qevhost::kNativeLayout.callBackMessage.paramIndex, param);
            exports.CallBack(module.object(), message.data());
        }
        exports.InitModule(module.object(), nullptr, nullptr);
        exports.CallBack(module.object(), message.data());
    }
    EXPECT_TRUE(module.calls().empty());
    EXPECT_TRUE(module.reports().empty());
}

}  // namespace
}  // namespace qevtest
