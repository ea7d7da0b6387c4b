// The seeds a range holds: whole floats only, each giving a table of its own.
#include "seed_range.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "conversions.h"

namespace {

std::vector<float> seedsOf(double from, double to) {
    std::string error;
    const auto range = seeds::SeedRange::make(from, to, error);
    EXPECT_TRUE(range) << error;
    std::vector<float> list;
    for (int64_t k = 0; range && k < range->count(); ++k) list.push_back(range->seedAt(k));
    return list;
}

// The table a seed value gives: the module's seed, 0 standing for 4357.
int32_t tableOf(float seed) {
    const int32_t s = qev::seedFromValue(seed);
    return s == 0 ? 4357 : s;
}

}  // namespace

TEST(SeedRange, AboveTwoTo24OnlyTheFloatsTheHostCanDeliver) {
    EXPECT_EQ(seedsOf(16777214, 16777220),
              (std::vector<float>{16777214, 16777215, 16777216, 16777218, 16777220}));
    EXPECT_EQ(seedsOf(-16777220, -16777214),
              (std::vector<float>{-16777220, -16777218, -16777216, -16777215, -16777214}));
    EXPECT_EQ(seedsOf(33554430, 33554448),
              (std::vector<float>{33554430, 33554432, 33554436, 33554440, 33554444, 33554448}));
}

TEST(SeedRange, FractionsDropTowardZeroAsTheModuleDropsThem) {
    EXPECT_EQ(seedsOf(2.5, 5.9), (std::vector<float>{3, 4, 5}));
    EXPECT_EQ(seedsOf(-2.5, -0.5), (std::vector<float>{-2, -1, 0}));
}

TEST(SeedRange, ZeroIsLeftOutWhereItsTableIs4357s) {
    EXPECT_EQ(seedsOf(0, 3), (std::vector<float>{0, 1, 2, 3}));
    const auto list = seedsOf(0, 9999);
    ASSERT_EQ(list.size(), 9999u);
    EXPECT_EQ(list.front(), 1);
    EXPECT_EQ(list.back(), 9999);
}

TEST(SeedRange, NoTwoSeedsGiveTheSameTable) {
    for (const auto& [from, to] :
         std::vector<std::pair<double, double>>{{-100, 5000},
                                                {16777000, 16778000},
                                                {2147480000, 2147483520},
                                                {-2147483648.0, -2147480000},
                                                {-17000000, -16700000}}) {
        std::set<int32_t> tables;
        const auto list = seedsOf(from, to);
        for (float seed : list) {
            EXPECT_EQ(static_cast<float>(static_cast<double>(seed)), seed);
            EXPECT_TRUE(tables.insert(tableOf(seed)).second) << "seed " << seed;
        }
        EXPECT_FALSE(list.empty());
    }
}

TEST(SeedRange, OrdinalsCountEveryWholeFloat) {
    for (float v : {0.0f, 1.0f, -1.0f, 16777216.0f, 16777218.0f, -16777218.0f, 2147483520.0f,
                    -2147483648.0f}) {
        EXPECT_EQ(seeds::wholeFloatAt(seeds::ordinalOf(v)), v);
    }
    EXPECT_EQ(seeds::ordinalOf(16777218.0f), 16777217);
}

TEST(SeedRange, RefusesWhatHoldsNoSeed) {
    std::string error;
    EXPECT_FALSE(seeds::SeedRange::make(10, 5, error));
    EXPECT_FALSE(seeds::SeedRange::make(0, 2147483648.0, error));
    EXPECT_NE(error.find("2147483520"), std::string::npos);
    EXPECT_FALSE(seeds::SeedRange::make(16777217, 16777217, error));
    EXPECT_FALSE(seeds::SeedRange::make(0, NAN, error));
}
