#include "seed_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace seeds {

bool rankedBefore(const RankedSeed& a, const RankedSeed& b) {
    const bool aNan = std::isnan(a.score), bNan = std::isnan(b.score);
    if (aNan != bNan) return bNan;
    if (!aNan && a.score != b.score) return a.score < b.score;
    return a.seed < b.seed;
}

SeedSearch::SeedSearch(const CurveSettings& settings, const Query& query, const SeedRange& range,
                       int32_t best)
    : maker_(settings),
      scorer_(query, settings),
      range_(range),
      keep_(static_cast<std::size_t>(std::max(best, int32_t{1}))) {
    best_.reserve(keep_ + 1);
}

void SeedSearch::run(int64_t from, int64_t to) {
    for (int64_t k = std::max(from, int64_t{0}); k < std::min(to, range_.count()); ++k) {
        const float seed = range_.seedAt(k);
        const RankedSeed ranked{seed, scorer_(maker_.curve(seed))};
        if (best_.size() == keep_ && !rankedBefore(ranked, best_.back())) continue;
        best_.insert(std::upper_bound(best_.begin(), best_.end(), ranked, rankedBefore), ranked);
        if (best_.size() > keep_) best_.pop_back();
    }
}

std::string seedText(float seed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(seed));
    return text;
}

std::string scoreText(double score) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", score);
    return text;
}

std::string rankingCsv(const std::vector<RankedSeed>& ranking) {
    std::string text = "Seed,Score\n";
    for (const auto& r : ranking) text += seedText(r.seed) + "," + scoreText(r.score) + "\n";
    return text;
}

}  // namespace seeds
