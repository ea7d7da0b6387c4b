// Qev Random as a host sees it: its ModuleInfo and its 13 parameter rows, field by field.
#include "module_test_support.h"
#include "qev_version.h"

namespace qevtest {
namespace {

using qevhost::Fader;
using qevhost::NumberBox;
using std::nullopt;

constexpr uint32_t kScaleMinBits = 0x32abcc77;  // 2e-8
constexpr uint32_t kShapeMinBits = 0x37a7c5ac;  // 0.00002
constexpr uint32_t kShapeMaxBits = 0x3f7ffeb0;  // 0.99998

const ExpectedRow kRows[] = {
    {NumberBox, "Input", true, kNegFltMaxBits, kFltMaxBits, 0.0f, "%.8f", nullopt, nullopt, nullopt,
     nullopt},
    {NumberBox, "Random Seed", true, kNegFltMaxBits, kFltMaxBits, 42.0f, "%.0f", nullopt, 2, 1,
     nullopt},
    {NumberBox, "Scale", true, kScaleMinBits, kFltMaxBits, 1.0f, "%.8f", 0, nullopt, nullopt,
     nullopt},
    {NumberBox, "Offset", true, kNegFltMaxBits, kFltMaxBits, 0.0f, "%.8f", 0, nullopt, nullopt,
     nullopt},
    {Fader, "Octaves", true, bitsOf(0.0f), bitsOf(16.0f), 1.0f, "%.5f", 0, nullopt, nullopt,
     nullopt},
    {Fader, "Noise Min", true, bitsOf(-2.0f), bitsOf(2.0f), -1.0f, "%.5f", 0, nullopt, 1, nullopt},
    {Fader, "Noise Max", true, bitsOf(-2.0f), bitsOf(2.0f), 1.0f, "%.5f", 0, nullopt, nullopt,
     nullopt},
    {Fader, "Fade", true, bitsOf(0.0f), bitsOf(1.0f), 0.0f, "%.5f", 0, nullopt, 1, nullopt},
    {Fader, "Noise Bias", true, kShapeMinBits, kShapeMaxBits, 0.5f, "%.5f", 0, nullopt, nullopt,
     nullopt},
    {Fader, "Noise Gain", true, kShapeMinBits, kShapeMaxBits, 0.5f, "%.5f", 0, nullopt, nullopt,
     nullopt},
    {NumberBox, "Output Min", true, kNegFltMaxBits, kFltMaxBits, 0.0f, "%.5f", 0, nullopt, 1,
     nullopt},
    {NumberBox, "Output Max", true, kNegFltMaxBits, kFltMaxBits, 1.0f, "%.5f", 0, nullopt, nullopt,
     nullopt},
    {NumberBox, "Output", false, kNegFltMaxBits, kFltMaxBits, 0.5f, "%.8f", nullopt, nullopt, 1,
     nullopt},
};

TEST(RandomDescription, ModuleInfoNamesTheModuleAndAsksTheHostOnce) {
    qevhost::Module module(randomPlugin());
    const auto& d = module.describe();
    EXPECT_EQ(d.name, "Qev-Random");
    EXPECT_EQ(d.description, "Qev Random");
    EXPECT_EQ(d.version, QEV_VERSION);
    EXPECT_EQ(d.moduleType, 0);
    EXPECT_EQ(d.optionCode, 0);
    EXPECT_EQ(d.numberOfParams, 13);
    EXPECT_EQ(d.hostLookup, qevhost::kHostLookupAnswer);
    EXPECT_TRUE(d.hostBytesOverwritten.empty());
    EXPECT_EQ(callTrace(module.calls()), std::vector<std::string>{"lookup 60"});
    EXPECT_TRUE(module.hostErrors().empty());
}

TEST(RandomDescription, WithoutHostInfoTheLookupIsZero) {
    qevhost::Module module(randomPlugin());
    qevhost::RecordBuffer info(qevhost::kNativeLayout.moduleInfoEnd + qevhost::kRecordSlack);
    {
        qevhost::ModuleCallScope scope(module);
        module.exports().GetModuleInfo(module.object(), nullptr, info.data());
    }
    EXPECT_EQ(info.writtenInt32(qevhost::kNativeLayout.moduleInfo.hostLookup), 0);
    EXPECT_EQ(info.writtenInt32(qevhost::kNativeLayout.moduleInfo.numberOfParams), 13);
    EXPECT_TRUE(module.calls().empty());
}

TEST(RandomDescription, EveryRowIsDescribedExactly) {
    qevhost::Module module(randomPlugin());
    const auto& d = module.describe();
    ASSERT_EQ(d.params.size(), std::size(kRows));
    for (std::size_t i = 0; i < d.params.size(); ++i) expectRow(d.params[i], kRows[i]);
    EXPECT_TRUE(module.hostErrors().empty());
}

TEST(RandomDescription, IndicesOutsideTheTableAreIgnored) {
    auto module = startedModule(randomPlugin());
    EXPECT_TRUE(module->queryParam(13).untouched);
    EXPECT_TRUE(module->queryParam(-1).untouched);
    EXPECT_TRUE(module->queryParam(INT32_MIN).untouched);

    // A handle offered for a parameter that does not exist replaces none of the real ones.
    {
        qevhost::ModuleCallScope scope(*module);
        module->exports().SetEventAddress(module->object(), 13, nullptr);
        module->exports().SetEventAddress(module->object(), -1, nullptr);
    }
    module->clearCalls();
    module->process();
    EXPECT_EQ(countCalls(module->calls(), qevhost::Service::GetEventValue), 11u);
    EXPECT_TRUE(module->hostErrors().empty());
}

}  // namespace
}  // namespace qevtest
