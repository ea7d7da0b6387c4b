// The bulk draws of a table rebuild against one draw at a time, in runs of every length, across
// many blocks and the draws whose second word lies below the state.
#include <gtest/gtest.h>

#include <vector>

#include "noise_cases.h"
#include "seeded_generator.h"

namespace qev::testing {
namespace {

std::vector<uint64_t> oneByOne(SeededGenerator generator, int count) {
    std::vector<uint64_t> out;
    for (int i = 0; i < count; ++i) out.push_back(bitsOf(generator.drawDouble()));
    return out;
}

std::vector<uint64_t> inRuns(SeededGenerator generator, int count, CaseSource& lengths) {
    std::vector<double> draws(count);
    for (int done = 0; done < count;) {
        int run = 1 + lengths.below(lengths.below(2) ? 4 : 700);
        if (run > count - done) run = count - done;
        generator.drawDoubles(draws.data() + done, run);
        done += run;
    }
    std::vector<uint64_t> out;
    for (double d : draws) out.push_back(bitsOf(d));
    return out;
}

TEST(BulkDraws, SameSequenceInRunsOfAnyLength) {
    CaseSource lengths(3);
    for (uint32_t seed : {0u, 1u, 42u, 4357u, 0xFFFFFFFFu, 123456789u}) {
        SeededGenerator generator;
        generator.seedGenerator(seed);
        EXPECT_EQ(inRuns(generator, 5000, lengths), oneByOne(generator, 5000)) << seed;
    }
}

TEST(BulkDraws, StartingMidBlockAndUnseeded) {
    CaseSource lengths(4);
    SeededGenerator unseeded;
    EXPECT_EQ(inRuns(unseeded, 1500, lengths), oneByOne(unseeded, 1500));
    SeededGenerator generator;
    generator.seedGenerator(99);
    for (int skip = 0; skip < 1300; skip += 1 + lengths.below(90)) {
        SeededGenerator copy = generator;
        for (int i = 0; i < skip; ++i) copy.drawDouble();
        EXPECT_EQ(inRuns(copy, 900, lengths), oneByOne(copy, 900)) << skip;
    }
}

}  // namespace
}  // namespace qev::testing
