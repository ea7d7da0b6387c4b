#include "random_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "seeded_engine.h"

namespace qev {
namespace {

using Engine = test::SeededEngine;

std::vector<int32_t> entries(const RandomTable& table, int count = RandomTable::kSize) {
    std::vector<int32_t> out(count);
    for (int i = 0; i < count; ++i) out[i] = table[i];
    return out;
}

std::vector<int32_t> head(const RandomTable& table) {
    return entries(table, 8);
}

TEST(RandomTable, KnownTables) {
    const Engine seed42(42);
    EXPECT_EQ(head(seed42.table),
              (std::vector<int32_t>{7449, 7263, 452, 8544, 6007, 9707, 7850, 3909}));
    EXPECT_EQ(seed42.table[9970], 9248);
    EXPECT_EQ(seed42.table[9971], 892);
    EXPECT_EQ(seed42.table[9972], 6319);
    EXPECT_EQ(head(Engine(4357).table),
              (std::vector<int32_t>{9963, 353, 624, 9782, 2206, 7034, 4218, 8996}));
    EXPECT_EQ(head(Engine(0).table), head(Engine(4357).table));
    EXPECT_EQ(head(Engine(1).table),
              (std::vector<int32_t>{9711, 6875, 4863, 5653, 9255, 8881, 9291, 6133}));
    for (int i = 0; i < RandomTable::kSize; ++i) {
        ASSERT_GE(seed42.table[i], 0);
        ASSERT_LE(seed42.table[i], 9973);
    }
}

TEST(RandomTable, RebuildsOnlyOnAChangedSeed) {
    Engine engine(42);
    EXPECT_FALSE(engine.table.reseed(42, engine.generator, engine.lastSeed));
    EXPECT_TRUE(engine.table.reseed(0, engine.generator, engine.lastSeed));
    const std::vector<int32_t> fromZero = entries(engine.table);
    EXPECT_TRUE(engine.table.reseed(4357, engine.generator, engine.lastSeed));
    EXPECT_EQ(entries(engine.table), fromZero);
    EXPECT_EQ(engine.lastSeed.seed, 4357);
}

TEST(RandomTable, UnbuiltTableIsZero) {
    const RandomTable table;
    EXPECT_EQ(table.sampleCell(1234.5, 0.5, 0.5, 0.3), 0.0);
}

TEST(CellIndex, MapsCellsAsTheRepetitionSays) {
    const std::pair<double, int32_t> cases[] = {{0, 0},     {1, 1},    {9970, 9970}, {9971, 0},
                                                {9972, 1},  {-1, 1},   {-2, 0},      {-3, 9970},
                                                {-9973, 0}, {19942, 0}};
    for (const auto& [cell, index] : cases) EXPECT_EQ(RandomTable::cellIndex(cell), index) << cell;
}

TEST(CellIndex, AgreesWithIntegerArithmeticFarOutside) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int64_t> cells(-(int64_t{1} << 52), int64_t{1} << 52);
    for (int i = 0; i < 20000; ++i) {
        const int64_t cell = i < 10000 ? cells(random) : cells(random) >> (i % 40);
        const int64_t shifted = cell < 0 ? cell + 9973 : cell;
        const int64_t expected = ((shifted % 9971) + 9971) % 9971;
        ASSERT_EQ(RandomTable::cellIndex(static_cast<double>(cell)), expected) << cell;
    }
    // Huge doubles, all of them whole numbers, stay in bounds.
    for (double cell : {1e300, -1e300, 0x1p63, -0x1p63, 0x1p100}) {
        const int32_t index = RandomTable::cellIndex(cell);
        EXPECT_GE(index, 0);
        EXPECT_LT(index, RandomTable::kCellModulus);
    }
}

TEST(SampleCell, WorkedValues) {
    const RandomTable& table = Engine(42).table;
    EXPECT_NEAR(table.sampleCell(3.7, 0.5, 0.5, 0.0), 0.856713, 5e-7);
    EXPECT_EQ(table.sampleCell(3.7, 0.5, 0.5, 0.0), 8544 / 9973.0);
    EXPECT_EQ(table.sampleCell(2.0, 0.5, 0.5, 0.25), (452 + 7263) / 2.0 / 9973.0);
    EXPECT_NEAR(table.sampleCell(2.1, 0.5, 0.5, 0.25), 0.250206, 5e-7);
    EXPECT_NEAR(table.sampleCell(2.9, 0.5, 0.5, 0.25), 0.288740, 5e-7);
    EXPECT_NEAR(table.sampleCell(2.1, 0.25, 0.75, 0.25), 0.402316, 5e-7);
    // Flat in the middle of the cell.
    EXPECT_EQ(table.sampleCell(2.5, 0.3, 0.7, 0.25), 452 / 9973.0);
}

TEST(SampleCell, NeighboursAtTheEndsOfTheRepetition) {
    const Engine engine(42);
    const RandomTable& table = engine.table;
    // Start of cell 0 blends with entry 9970; end of cell 9970 runs toward entry 9971.
    EXPECT_EQ(table.sampleCell(0.0, 0.5, 0.5, 0.25), (table[0] + table[9970]) / 2.0 / 9973.0);
    EXPECT_EQ(table.sampleCell(-2.0, 0.5, 0.5, 0.25), (table[0] + table[9970]) / 2.0 / 9973.0);
    EXPECT_EQ(table.sampleCell(9971.0, 0.5, 0.5, 0.25), (table[0] + table[9970]) / 2.0 / 9973.0);
    const double towardNext = (table[9971] - table[9970]) * 0.25 + table[9970];
    EXPECT_EQ(table.sampleCell(9970.875, 0.5, 0.5, 0.25), towardNext / 9973.0);
    EXPECT_EQ(table.sampleCell(9971.5, 0.5, 0.5, 0.25), table[0] / 9973.0);
}

TEST(SampleCell, PositionsBeyondTheMappedCells) {
    const Engine engine(42);
    const RandomTable& table = engine.table;
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double nonFinite = table[0] / 9973.0;
    for (double fade : {0.0, 0.25, 0.5}) {
        EXPECT_EQ(table.sampleCell(std::nan(""), 0.5, 0.5, fade), nonFinite);
        EXPECT_EQ(table.sampleCell(inf, 0.3, 0.7, fade), nonFinite);
        EXPECT_EQ(table.sampleCell(-inf, 0.3, 0.7, fade), nonFinite);
        for (double position : {0x1p31 + 0.5, 1e15 + 0.25, -1e15 - 0.75, 1e300, -1e300}) {
            const double value = table.sampleCell(position, 0.3, 0.7, fade);
            EXPECT_GE(value, 0.0) << position;
            EXPECT_LE(value, 1.0) << position;
        }
    }
    // Past 2^31 the curve keeps stepping through the table.
    const int64_t cell = (int64_t{1} << 31) + 12345;
    EXPECT_EQ(table.sampleCell(static_cast<double>(cell) + 0.5, 0.5, 0.5, 0.0),
              table[static_cast<int>(cell % 9971)] / 9973.0);
}

TEST(BiasAndGain, NeutralAndShaped) {
    EXPECT_EQ(applyBias(0.3, 0.5), 0.3);
    EXPECT_EQ(applyGain(0.3, 0.5), 0.3);
    EXPECT_EQ(applyBias(0.5, 0.2), 0.2);
    EXPECT_EQ(applyGain(0.5, 0.9), 0.5);
    EXPECT_DOUBLE_EQ(applyBias(0.7, 0.25), 0.4375);
    EXPECT_NEAR(applyGain(0.4375, 0.75), 0.477273, 5e-7);
    for (double shape : {0.00002, 0.3, 0.99998}) {
        EXPECT_EQ(applyBias(0.0, shape), 0.0);
        EXPECT_EQ(applyBias(1.0, shape), 1.0);
        EXPECT_EQ(applyGain(0.0, shape), 0.0);
        EXPECT_EQ(applyGain(1.0, shape), 1.0);
    }
}

}  // namespace
}  // namespace qev
