// The properties as text, the sketch from CSV, and the distance's terms on small curves.
#include <gtest/gtest.h>

#include "seed_score.h"

namespace {

seeds::CurveSettings arrayOf(float size) {
    seeds::CurveSettings s;
    s.module = seeds::SeedModule::Array;
    s.arraySize = size;
    return s;
}

double scoreOf(const std::string& wants, const std::vector<float>& curve) {
    seeds::Query q;
    std::string error;
    EXPECT_TRUE(seeds::addWants(q, wants, error)) << error;
    return seeds::Scorer(q, arrayOf(static_cast<float>(curve.size())))(curve);
}

}  // namespace

TEST(SeedQuery, WantsReadBackInAFixedOrder) {
    seeds::Query q;
    std::string error;
    ASSERT_TRUE(seeds::addWants(q, "calm, loops,starts=0.2", error)) << error;
    ASSERT_TRUE(seeds::addWants(q, "falling,ends=-1e-3,range,seldom-ends", error)) << error;
    EXPECT_EQ(seeds::wantsText(q), "starts=0.2,ends=-0.001,loops,range,seldom-ends,calm,falling");
    seeds::Query none;
    ASSERT_TRUE(seeds::addWants(none, "", error)) << error;
    EXPECT_EQ(seeds::wantsText(none), "");
}

TEST(SeedQuery, RefusesUnknownRepeatedAndOpposedWants) {
    for (const char* text : {"wobbly", "starts", "starts=x", "loops=1", "calm,lively",
                             "rising,falling", "loops,loops", "ends=1,ends=2"}) {
        seeds::Query q;
        std::string error;
        EXPECT_FALSE(seeds::addWants(q, text, error)) << text;
        EXPECT_FALSE(error.empty());
    }
}

TEST(SeedQuery, SketchSkipsAHeaderAndSortsItsPoints) {
    seeds::Query q;
    std::string error;
    ASSERT_TRUE(seeds::readSketch(q, "Input,Output\n2,0.5\n\n0,0.1\n1,0.3,extra\n", error));
    ASSERT_EQ(q.sketch.size(), 3u);
    EXPECT_EQ(q.sketch[0].x, 0);
    EXPECT_EQ(q.sketch[2].y, 0.5);
    EXPECT_FALSE(seeds::readSketch(q, "x,y\n1,2\nthree,4\n", error));
    EXPECT_NE(error.find("line 3"), std::string::npos);
}

TEST(SeedScore, EachTermMeasuresInTheOutputRange) {
    EXPECT_DOUBLE_EQ(scoreOf("starts=0.25", {0.75f, 0, 0}), 0.5);
    EXPECT_DOUBLE_EQ(scoreOf("ends=0", {0.75f, 0, 0.5f}), 0.5);
    // End back at the start, but the last step (+0.5) against the first (-0.5).
    EXPECT_DOUBLE_EQ(scoreOf("loops", {0.5f, 0, 0, 0.5f}), 1.0);
    EXPECT_DOUBLE_EQ(scoreOf("loops", {0.5f, 0.25f, 0.75f, 0.5f}), 0.0);
    EXPECT_DOUBLE_EQ(scoreOf("range", {0.25f, 0.75f}), 0.5);
    EXPECT_DOUBLE_EQ(scoreOf("seldom-ends", {0, 0.5f, 1, 0.5f}), 0.5);
    EXPECT_DOUBLE_EQ(scoreOf("calm", {0, 0.5f, 0.5f}), 0.25);
    EXPECT_DOUBLE_EQ(scoreOf("lively", {0, 0.5f, 0.5f}), 0.75);
    EXPECT_DOUBLE_EQ(scoreOf("rising", {0, 0.5f, 1}), 0.0);
    EXPECT_DOUBLE_EQ(scoreOf("falling", {0, 0.5f, 1}), 1.0);
    EXPECT_DOUBLE_EQ(scoreOf("starts=0,calm", {0.5f, 0.5f}), 0.5);
}

TEST(SeedScore, SketchIsResampledByStraightLines) {
    seeds::Query q;
    q.sketch = {{0, 0}, {4, 1}};  // y = x / 4 over elements 0 to 4; element 5 lies beyond it
    const seeds::Scorer score(q, arrayOf(6));
    EXPECT_DOUBLE_EQ(score({0, 0.25f, 0.5f, 0.75f, 1, 0}), 0.0);
    EXPECT_DOUBLE_EQ(score({0.5f, 0.75f, 1, 0.25f, 0.5f, 0}), 0.5);
}
