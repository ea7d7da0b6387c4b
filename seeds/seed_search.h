// The search itself: every seed of a range scored, the best kept. The explorer page splits a
// range among its workers and merges their lists with the same order; qevhost runs it whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "seed_curves.h"
#include "seed_query.h"
#include "seed_range.h"
#include "seed_score.h"

namespace seeds {

struct RankedSeed {
    float seed;
    double score;
};

// The ranking's order: lower score first, NaN last, equal scores by the lower seed.
bool rankedBefore(const RankedSeed& a, const RankedSeed& b);

class SeedSearch {
  public:
    // `best`: how many seeds to keep (at least 1).
    SeedSearch(const CurveSettings& settings, const Query& query, const SeedRange& range,
               int32_t best);

    // Scores seeds range.seedAt(from) to range.seedAt(to - 1).
    void run(int64_t from, int64_t to);
    // Everything kept so far, best first.
    const std::vector<RankedSeed>& best() const { return best_; }

  private:
    CurveMaker maker_;
    Scorer scorer_;
    SeedRange range_;
    std::size_t keep_;
    std::vector<RankedSeed> best_;  // sorted, at most keep_
};

// The ranking as text: "Seed,Score" and a row per seed, the score to 9 significant digits.
// The page and qevhost --csv write exactly this.
std::string rankingCsv(const std::vector<RankedSeed>& ranking);

// A number as the ranking writes it: a seed as a whole number, a score to 9 significant digits.
std::string seedText(float seed);
std::string scoreText(double score);

}  // namespace seeds
