// How Qev Random talks to the host: the reads and the one write of a block, which messages apply
// the seed, what initialisation does, and a host that calls in the wrong order.
#include "module_test_support.h"

namespace qevtest {
namespace {

using qevhost::Module;
using qevhost::Service;
using Trace = std::vector<std::string>;

float processed(Module& module) {
    module.process();
    return module.value(rnd::Output);
}

TEST(RandomCalls, ProcessReadsElevenParametersOnceThenWritesOnce) {
    auto module = startedModule(randomPlugin());
    module->clearCalls();
    module->process();
    const Trace expected = {"get 0", "get 4", "get 8", "get 9",  "get 5",  "get 6",
                            "get 7", "get 2", "get 3", "get 10", "get 11", "set 12"};
    EXPECT_EQ(callTrace(module->calls()), expected);
    EXPECT_TRUE(module->reports().empty());
    EXPECT_TRUE(module->hostErrors().empty());
}

TEST(RandomCalls, InitialisationReadsTheSeedAndWritesNothing) {
    qevhost::Module module(randomPlugin());
    module.describe();
    module.wire();
    module.clearCalls();
    module.init();
    EXPECT_EQ(callTrace(module.calls()), Trace{"get 1"});
    EXPECT_EQ(module.value(rnd::Output), 0.5f);  // still the default

    // A second initialisation with the same seed changes nothing.
    const float before = processed(module);
    module.clearCalls();
    module.init();
    EXPECT_EQ(callTrace(module.calls()), Trace{"get 1"});
    EXPECT_TRUE(sameBits(processed(module), before));
}

TEST(RandomCalls, OnlyASeedMessageWithDetailZeroAppliesTheSeed) {
    auto module = startedModule(randomPlugin(), {{rnd::Input, 3.0f}});
    const float seed42 = processed(*module);
    const float seed7 =
        processed(*startedModule(randomPlugin(), {{rnd::Input, 3.0f}, {rnd::Seed, 7.0f}}));
    ASSERT_NE(seed42, seed7);

    module->setValue(rnd::Seed, 7.0f);  // the host's side only: no message yet
    EXPECT_TRUE(sameBits(processed(*module), seed42));

    module->clearCalls();
    module->callBack(rnd::Seed, 1);
    for (int32_t other : {rnd::Input, rnd::Scale, rnd::Output, -1, 4094}) {
        module->callBack(other, 0);
    }
    EXPECT_TRUE(module->calls().empty());
    EXPECT_TRUE(sameBits(processed(*module), seed42));

    module->clearCalls();
    module->callBack(rnd::Seed, 0);
    EXPECT_EQ(callTrace(module->calls()), Trace{"get 1"});
    EXPECT_TRUE(sameBits(processed(*module), seed7));
}

TEST(RandomCalls, ASeedChangedWithoutAMessageWaitsForInitialisation) {
    auto module = startedModule(randomPlugin(), {{rnd::Input, 3.0f}});
    const float seed42 = processed(*module);
    module->setValue(rnd::Seed, 7.0f);
    EXPECT_TRUE(sameBits(processed(*module), seed42));
    module->init();
    EXPECT_FALSE(sameBits(processed(*module), seed42));
}

TEST(RandomCalls, ProcessingBeforeInitialisationReadsAZeroTable) {
    qevhost::Module module(randomPlugin());
    module.describe();
    module.wire();
    // Every entry 0: the sum is -1, the bottom of the window, so Output Min.
    EXPECT_EQ(processed(module), 0.0f);
    EXPECT_TRUE(module.hostErrors().empty());
}

TEST(RandomCalls, UnwiredHandlesDoNotCrash) {
    qevhost::Module module(randomPlugin());
    module.describe();
    module.init();
    module.process();
    module.callBack(rnd::Seed, 0);
    EXPECT_TRUE(module.reports().empty());
    EXPECT_EQ(countCalls(module.calls(), Service::SetEventValue), 1u);
}

TEST(RandomCalls, NoHostInfoMeansNoCallsAndNoCrash) {
    qevhost::Module module(randomPlugin());
    qevhost::RecordBuffer message(qevhost::kNativeLayout.callBackMessageEnd);
    message.setPointer(qevhost::kNativeLayout.callBackMessage.paramIndex, rnd::Seed);
    message.setPointer(qevhost::kNativeLayout.callBackMessage.messageDetail, 0);
    {
        qevhost::ModuleCallScope scope(module);
        const auto& exports = module.exports();
        exports.Process(module.object());
        exports.InitModule(module.object(), nullptr, nullptr);
        exports.CallBack(module.object(), message.data());
        exports.Process(module.object());
    }
    EXPECT_TRUE(module.calls().empty());
    EXPECT_TRUE(module.reports().empty());
}

}  // namespace
}  // namespace qevtest
