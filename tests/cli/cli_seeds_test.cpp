// `qevhost seeds`: the ranking finds a seed from a noisy copy of its own curve, `loops` ranks by
// the end-to-start jump, and every listed seed's curve is the one `qevhost run` prints for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cli_test_support.h"
#include "qevhost_process.h"
#include "seed_curves.h"
#include "temp_file.h"

namespace rp = random_param;

namespace {

const std::vector<std::string> kRandomSettings = {"--set",    "Octaves=3", "--set",
                                                  "Fade=0.6", "--input",   "0:40:0.25"};

// The ranked seeds of `qevhost seeds ... --csv`, best first.
std::vector<float> rankedSeeds(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"seeds"};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back("--csv");
    const ProcessResult r = runQevhost(all);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto rows = parseCsv(r.out);
    std::vector<float> list;
    if (rows.empty() || rows[0] != std::vector<std::string>{"Seed", "Score"}) {
        ADD_FAILURE() << r.out;
        return list;
    }
    for (std::size_t i = 1; i < rows.size(); ++i) list.push_back(readFloat(rows[i][0]));
    return list;
}

// The last column of `qevhost run --csv`: "Output" or "Integer Out"'s neighbour "Float Out".
std::vector<float> runCurve(const char* plugin, const std::vector<std::string>& settings,
                            float seed, std::size_t column) {
    std::vector<std::string> args = {"run", plugin, "--csv", "--set",
                                     "Random Seed=" + std::to_string(static_cast<long>(seed))};
    args.insert(args.end(), settings.begin(), settings.end());
    const ProcessResult r = runQevhost(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<float> curve;
    const auto rows = parseCsv(r.out);
    for (std::size_t i = 1; i < rows.size(); ++i) curve.push_back(readFloat(rows[i][column]));
    return curve;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](float x, float y) {
               return std::memcmp(&x, &y, sizeof x) == 0;
           });
}

}  // namespace

TEST(CliSeeds, NoisySketchOfASeedsOwnCurveRanksThatSeedFirst) {
    const std::vector<float> curve = runCurve(RANDOM_PLUGIN, kRandomSettings, 1234, 1);
    ASSERT_EQ(curve.size(), 161u);
    // Noise of up to a tenth of the output range, from a fixed sequence.
    std::string csv = "Input,Output\n";
    uint32_t state = 12345;
    for (std::size_t i = 0; i < curve.size(); ++i) {
        state = state * 1103515245u + 12345u;
        const double noise = ((state >> 8) % 2001 - 1000.0) / 10000.0;
        csv += std::to_string(i * 0.25) + "," + std::to_string(curve[i] + noise) + "\n";
    }
    const TempFile sketch("sketch.csv", csv);
    std::vector<std::string> args = {RANDOM_PLUGIN, "--seeds", "1000:1999", "--like",
                                     sketch.path()};
    args.insert(args.end(), kRandomSettings.begin(), kRandomSettings.end());
    const auto ranked = rankedSeeds(args);
    ASSERT_FALSE(ranked.empty());
    EXPECT_EQ(ranked[0], 1234);
}

TEST(CliSeeds, LoopsListsTheSeedsWithTheSmallestEndToStartJump) {
    // The jump of each seed's curve as the plug-in gives it: |last - first| plus the difference
    // of the last and the first step, in the output range 0 to 1.
    LibraryModule library(RANDOM_PLUGIN, {{rp::kOctaves, 2}, {rp::kFade, 1}});
    const auto jumpOf = [&](float seed) {
        library.module->change(rp::kSeed, seed);
        std::vector<double> v;
        for (float input : {0.0f, 0.5f, 19.5f, 20.0f}) {
            library.module->setValue(rp::kInput, input);
            library.module->process();
            v.push_back(library.module->value(rp::kOutput));
        }
        return std::fabs(v[3] - v[0]) + std::fabs((v[3] - v[2]) - (v[1] - v[0]));
    };
    const auto listed =
        rankedSeeds({RANDOM_PLUGIN, "--set", "Octaves=2", "--set", "Fade=1", "--input", "0:20:0.5",
                     "--seeds", "1:300", "--want", "loops", "--top", "10"});
    ASSERT_EQ(listed.size(), 10u);
    double worstListed = 0;
    for (float seed : listed) worstListed = std::max(worstListed, jumpOf(seed));
    for (int seed = 1; seed <= 300; ++seed) {
        if (std::find(listed.begin(), listed.end(), seed) != listed.end()) continue;
        EXPECT_LT(worstListed, jumpOf(static_cast<float>(seed))) << "seed " << seed;
    }
}

TEST(CliSeeds, ListedCurvesAreTheCurvesRunPrints) {
    seeds::CurveSettings random;
    random.octaves = 3;
    random.fade = 0.6f;
    for (int i = 0; i <= 160; ++i) random.inputs.push_back(static_cast<float>(i * 0.25));
    seeds::CurveSettings array;
    array.module = seeds::SeedModule::Array;
    array.octaves = 16;
    array.fade = 1;
    array.arraySize = 300;
    const std::vector<std::string> arraySettings = {"--set",  "Octaves=16", "--set",
                                                    "Fade=1", "--set",      "Array Size=300"};
    struct Case {
        const char* plugin;
        std::vector<std::string> settings;
        seeds::CurveSettings curves;
        std::size_t column;
        const char* want;
    };
    for (const Case& c : {Case{RANDOM_PLUGIN, kRandomSettings, random, 1, "calm"},
                          Case{ARRAY_PLUGIN, arraySettings, array, 1, "rising"}}) {
        std::vector<std::string> args = {c.plugin, "--seeds", "16777200:16777300", "--want", c.want,
                                         "--top",  "3"};
        args.insert(args.end(), c.settings.begin(), c.settings.end());
        seeds::CurveMaker maker(c.curves);
        for (float seed : rankedSeeds(args)) {
            EXPECT_TRUE(sameBits(maker.curve(seed), runCurve(c.plugin, c.settings, seed, c.column)))
                << c.plugin << " seed " << seed;
        }
    }
}

TEST(CliSeeds, ClearErrors) {
    const auto errorOf = [](const std::vector<std::string>& args) {
        std::vector<std::string> all = {"seeds", RANDOM_PLUGIN};
        all.insert(all.end(), args.begin(), args.end());
        const ProcessResult r = runQevhost(all);
        EXPECT_NE(r.exitCode, 0);
        return r.err;
    };
    EXPECT_NE(errorOf({"--seeds", "0:99"}).find("say what to look for"), std::string::npos);
    EXPECT_NE(errorOf({"--seeds", "9:1", "--want", "calm"}).find("lower to the higher"),
              std::string::npos);
    EXPECT_NE(errorOf({"--seeds", "0:9", "--want", "wobbly"}).find("unknown"), std::string::npos);
    EXPECT_NE(errorOf({"--seeds", "0:9", "--want", "rising"}).find("Qev RandomArray"),
              std::string::npos);
    EXPECT_NE(errorOf({"--seeds", "0:9", "--want", "calm", "--set", "Random Seed=3"})
                  .find("the search sets the seed"),
              std::string::npos);
}
