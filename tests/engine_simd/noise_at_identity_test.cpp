// Values at given base positions (computeNoiseAt), as the seed search computes Qev Random's
// curves: the same bits as the scalar reference, whose values are those of the block at the
// block's own positions; bases in any order, repeated, NaN, infinite and beyond 32-bit cells. The
// AVX2 and AVX-512 versions are checked as well as the dispatched one, or report a skip where the
// engine does not run their kernels (vector_paths.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "cpu_check.h"
#include "noise_block.h"
#include "noise_cases.h"
#include "vector_paths.h"

namespace qev::testing {
namespace {

RandomTable tableFor(int32_t seed) {
    SeededGenerator generator;
    SeedCache lastSeed;
    RandomTable table;
    table.reseed(seed, generator, lastSeed);
    return table;
}

// The bases of the case's elements, reversed or shuffled and mixed with extremes by `mix`.
std::vector<double> basesOf(const NoiseCase& c, CaseSource& source) {
    std::vector<double> bases;
    const double w = c.settings.wrappedOffset;
    for (int32_t j = 0; j < c.count; ++j) {
        bases.push_back(w + (static_cast<double>(c.first + j) + w) * c.settings.scale);
    }
    const double extremes[] = {NAN,          INFINITY, -INFINITY, 0x1p31, -0x1p31,
                               0x1p31 - 0.5, 1e300,    -0.0,      9971.0, 2521.5};
    switch (source.below(3)) {
        case 0:
            std::reverse(bases.begin(), bases.end());
            break;
        case 1:
            for (auto& b : bases) {
                if (source.below(8) == 0) b = source.pick(extremes);
            }
            break;
        default:
            for (std::size_t i = bases.size(); i > 1; --i) {
                std::swap(bases[i - 1],
                          bases[static_cast<std::size_t>(source.below(static_cast<int32_t>(i)))]);
            }
    }
    return bases;
}

using AtFunction = void (*)(const NoiseBlockSettings&, const RandomTable&, const double*, int32_t,
                            double*);

struct AtPath {
    const char* name;
    AtFunction at;
    Kernels kernels;
};

constexpr AtPath kPaths[] = {{"Dispatched", &computeNoiseAt, Kernels::Any},
                             {"Avx2", &computeNoiseAtAvx2, Kernels::Avx2},
                             {"Avx512", &computeNoiseAtAvx512, Kernels::Avx512}};

void PrintTo(const AtPath& path, std::ostream* out) {
    *out << path.name;
}

class NoiseAtIdentity : public ::testing::TestWithParam<AtPath> {};

INSTANTIATE_TEST_SUITE_P(Paths, NoiseAtIdentity, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(NoiseAtIdentity, SameBitsAsTheScalarReference) {
    QEV_NEED_KERNELS(GetParam().kernels);
    const RandomTable tables[] = {tableFor(42), tableFor(7), tableFor(-123456)};
    CaseSource source(91);
    for (int n = 0; n < 2500; ++n) {
        NoiseCase c = source.next();
        c.count = 1 + source.below(300);
        const std::vector<double> bases = basesOf(c, source);
        std::vector<double> expected(bases.size()), actual(bases.size() + 1, -1.0);
        const RandomTable& table = tables[n % 3];
        computeNoiseAtScalar(c.settings, table, bases.data(), c.count, expected.data());
        GetParam().at(c.settings, table, bases.data(), c.count, actual.data());
        ASSERT_EQ(bitsOf(actual[bases.size()]), bitsOf(-1.0)) << "wrote past the end";
        for (int32_t j = 0; j < c.count; ++j) {
            ASSERT_EQ(canonicalBits(actual[j]), canonicalBits(expected[j]))
                << "case " << n << " value " << j << " at base " << bases[j];
        }
    }
}

TEST(NoiseAtReference, ReferenceIsTheBlockAtItsOwnPositions) {
    const RandomTable table = tableFor(42);
    CaseSource source(5);
    for (int n = 0; n < 500; ++n) {
        const NoiseCase c = source.next();
        std::vector<double> bases, block(c.count), at(c.count);
        const double w = c.settings.wrappedOffset;
        for (int32_t j = 0; j < c.count; ++j) {
            bases.push_back(w + (static_cast<double>(c.first + j) + w) * c.settings.scale);
        }
        computeNoiseBlockScalar(c.settings, table, c.first, c.count, block.data());
        computeNoiseAtScalar(c.settings, table, bases.data(), c.count, at.data());
        for (int32_t j = 0; j < c.count; ++j) {
            ASSERT_EQ(canonicalBits(at[j]), canonicalBits(block[j])) << n << " " << j;
        }
    }
}

}  // namespace
}  // namespace qev::testing
