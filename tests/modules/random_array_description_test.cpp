// Qev RandomArray as a host sees it: its ModuleInfo and its 16 parameter rows, field by field.
#include "module_test_support.h"
#include "qev_version.h"

namespace qevtest {
namespace {

using qevhost::Button;
using qevhost::DataArray;
using qevhost::Fader;
using qevhost::ListBox;
using qevhost::NumberBox;
using std::nullopt;

constexpr uint32_t kScaleMinBits = 0x32abcc77;  // 2e-8
constexpr uint32_t kShapeMinBits = 0x37a7c5ac;  // 0.00002
constexpr uint32_t kShapeMaxBits = 0x3f7ffeb0;  // 0.99998

const ExpectedRow kRows[] = {
    {ListBox, "Mode", true, nullopt, nullopt, 0.0f, nullopt, nullopt, nullopt, nullopt,
     "\"Automatic Update\",\"Update on Click\""},
    {Button, "Calculate Array", true, nullopt, nullopt, nullopt, nullopt, nullopt, 0, nullopt,
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
    {Fader, "Array Size", true, bitsOf(1.0f), bitsOf(2048.0f), 16.0f, "%.0f", 0, nullopt, 1,
     nullopt},
    {DataArray, "Float Out", false, kNegFltMaxBits, kFltMaxBits, 0.0f, nullopt, nullopt, nullopt, 1,
     nullopt},
    {DataArray, "Integer Out", false, kNegFltMaxBits, kFltMaxBits, 0.0f, "%.0f", nullopt, nullopt,
     nullopt, nullopt},
};

TEST(RandomArrayDescription, ModuleInfoNamesTheModuleAndAsksTheHostOnce) {
    qevhost::Module module(randomArrayPlugin());
    const auto& d = module.describe();
    EXPECT_EQ(d.name, "Qev-RandomArray");
    EXPECT_EQ(d.description, "Qev RandomArray");
    EXPECT_EQ(d.version, QEV_VERSION);
    EXPECT_EQ(d.moduleType, 0);
    EXPECT_EQ(d.optionCode, 0);
    EXPECT_EQ(d.numberOfParams, 16);
    EXPECT_EQ(d.hostLookup, qevhost::kHostLookupAnswer);
    EXPECT_TRUE(d.hostBytesOverwritten.empty());
    EXPECT_EQ(callTrace(module.calls()), std::vector<std::string>{"lookup 60"});
}

TEST(RandomArrayDescription, WithoutHostInfoTheLookupIsZero) {
    qevhost::Module module(randomArrayPlugin());
    qevhost::RecordBuffer info(qevhost::kNativeLayout.moduleInfoEnd + qevhost::kRecordSlack);
    {
        qevhost::ModuleCallScope scope(module);
        module.exports().GetModuleInfo(module.object(), nullptr, info.data());
    }
    EXPECT_EQ(info.writtenInt32(qevhost::kNativeLayout.moduleInfo.hostLookup), 0);
    EXPECT_TRUE(module.calls().empty());
}

TEST(RandomArrayDescription, EveryRowIsDescribedExactly) {
    qevhost::Module module(randomArrayPlugin());
    const auto& d = module.describe();
    ASSERT_EQ(d.params.size(), std::size(kRows));
    for (std::size_t i = 0; i < d.params.size(); ++i) expectRow(d.params[i], kRows[i]);
    EXPECT_EQ(d.params[arr::Mode].items(),
              (std::vector<std::string>{"Automatic Update", "Update on Click"}));
    EXPECT_TRUE(module.hostErrors().empty());
}

TEST(RandomArrayDescription, IndicesOutsideTheTableAreIgnored) {
    auto module = startedModule(randomArrayPlugin());
    EXPECT_TRUE(module->queryParam(16).untouched);
    EXPECT_TRUE(module->queryParam(-1).untouched);
    {
        qevhost::ModuleCallScope scope(*module);
        module->exports().SetEventAddress(module->object(), 16, nullptr);
        module->exports().SetEventAddress(module->object(), -1, nullptr);
    }
    module->callBack(arr::Calculate);
    EXPECT_EQ(module->array(arr::FloatOut).size(), 16u);
    EXPECT_TRUE(module->hostErrors().empty());
}

}  // namespace
}  // namespace qevtest
