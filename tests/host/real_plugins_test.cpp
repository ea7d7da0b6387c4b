// Both real plug-ins of this tree in the host: the records they fill line up with the host's
// own layouts, and driving them leaves no host-side fault.
#include <gtest/gtest.h>

#include "qev_version.h"
#include "qevhost/module.h"

using namespace qevhost;

namespace {

void expectNoFaults(const Module& module) {
    EXPECT_TRUE(module.hostErrors().empty()) << module.hostErrors().front();
    EXPECT_TRUE(module.reports().empty()) << module.reports().front();
    EXPECT_TRUE(module.description().hostBytesOverwritten.empty());
    for (const auto& p : module.description().params) {
        EXPECT_TRUE(p.hostBytesOverwritten.empty()) << "parameter " << p.index;
    }
}

}  // namespace

TEST(RealPlugins, QevRandomLinesUpWithTheHostLayout) {
    auto plugin = Plugin::open(RANDOM_PLUGIN);
    Module module(*plugin);
    module.start();
    const ModuleDescription& d = module.description();
    EXPECT_EQ(d.name, "Qev-Random");
    EXPECT_EQ(d.description, "Qev Random");
    EXPECT_EQ(d.version, QEV_VERSION);
    EXPECT_EQ(d.hostLookup, kHostLookupAnswer);
    ASSERT_EQ(d.params.size(), 13u);
    // Fields at the far ends of ParamInfo: a shifted layout would garble these.
    EXPECT_EQ(d.params[1].caption, "Random Seed");
    EXPECT_EQ(d.params[1].format, "%.0f");
    EXPECT_EQ(d.params[1].modeCode, 2);
    EXPECT_EQ(d.params[12].startsGroup, 1);
    EXPECT_EQ(d.params[12].isOutput, 1);
    EXPECT_FALSE(d.params[0].startsGroup);

    // Seed 42, Input in [0, 1): 4197 / 9973.
    module.setValue(0, 0.5f);
    module.process();
    EXPECT_EQ(module.value(12), 0.42083627f);
    for (int32_t i = 0; i < module.paramCount(); ++i) module.callBack(i);
    module.process();
    expectNoFaults(module);
}

TEST(RealPlugins, QevRandomArrayFillsItsArraysWithinTheirLength) {
    auto plugin = Plugin::open(ARRAY_PLUGIN);
    Module module(*plugin);
    module.start();
    const ModuleDescription& d = module.description();
    EXPECT_EQ(d.name, "Qev-RandomArray");
    ASSERT_EQ(d.params.size(), 16u);
    EXPECT_EQ(d.params[0].items(),
              (std::vector<std::string>{"Automatic Update", "Update on Click"}));
    EXPECT_EQ(module.arrayLength(14), 16);
    EXPECT_EQ(module.arrayLength(15), 16);

    module.callBack(1);  // "Calculate Array"
    EXPECT_EQ(module.array(14)[0], 0.42083627f);
    EXPECT_EQ(module.array(14)[1], 0.07991577f);
    EXPECT_EQ(module.array(15)[5], 1.0f);
    module.change(13, 2048.0f);
    EXPECT_EQ(module.arrayLength(14), 2048);
    EXPECT_EQ(module.array(15).size(), 2048u);
    expectNoFaults(module);
}
