// The seed search for the page's workers: each worker runs its own copy of this WebAssembly and
// searches its share of the range with the search qevhost runs (seeds/). It needs no module
// object: the curves come from the modules' own code that the search compiles in.
#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>

#include "seed_search.h"

namespace {

seeds::CurveSettings settings;
seeds::Query query;
std::optional<seeds::SeedRange> range;
std::unique_ptr<seeds::SeedSearch> search;
std::string text;  // the last error or text handed out

}  // namespace

extern "C" {

// Starts a new search description: array 1 for Qev RandomArray, 0 for Qev Random.
EMSCRIPTEN_KEEPALIVE void searchReset(int32_t array) {
    settings = seeds::CurveSettings{};
    settings.module = array ? seeds::SeedModule::Array : seeds::SeedModule::Random;
    query = seeds::Query{};
    range.reset();
    search.reset();
}

// One setting by caption; 0 for a caption the search does not take (it has no effect).
EMSCRIPTEN_KEEPALIVE int32_t searchSet(const char* caption, float value) {
    return seeds::setByCaption(settings, caption, value) ? 1 : 0;
}

// Qev Random's inputs, one block each.
EMSCRIPTEN_KEEPALIVE void searchInputs(const float* values, int32_t count) {
    settings.inputs.assign(values, values + count);
}

// Properties ("starts=0.2,loops"); -1 with the reason in searchText().
EMSCRIPTEN_KEEPALIVE int32_t searchWants(const char* wants) {
    return seeds::addWants(query, wants, text) ? 0 : -1;
}

// Sketch points as CSV rows x,y; -1 with the reason in searchText().
EMSCRIPTEN_KEEPALIVE int32_t searchSketch(const char* csv) {
    return seeds::readSketch(query, csv, text) ? 0 : -1;
}

// The seeds from `from` to `to`: their count, or -1 with the reason in searchText().
EMSCRIPTEN_KEEPALIVE double searchRange(double from, double to) {
    range = seeds::SeedRange::make(from, to, text);
    return range ? static_cast<double>(range->count()) : -1;
}

// Makes the search, keeping the best `best`; -1 with the reason in searchText().
EMSCRIPTEN_KEEPALIVE int32_t searchBegin(int32_t best) {
    text = range ? seeds::searchError(query, settings) : "no range of seeds";
    if (!text.empty()) return -1;
    search = std::make_unique<seeds::SeedSearch>(settings, query, *range, best);
    return 0;
}

// Scores the seeds numbered from to to - 1 of the range.
EMSCRIPTEN_KEEPALIVE void searchRun(double from, double to) {
    if (search) search->run(static_cast<int64_t>(from), static_cast<int64_t>(to));
}

EMSCRIPTEN_KEEPALIVE int32_t searchCount() {
    return search ? static_cast<int32_t>(search->best().size()) : 0;
}

EMSCRIPTEN_KEEPALIVE float searchSeed(int32_t i) {
    return search->best()[static_cast<std::size_t>(i)].seed;
}

EMSCRIPTEN_KEEPALIVE double searchScore(int32_t i) {
    return search->best()[static_cast<std::size_t>(i)].score;
}

// Seed and score as qevhost prints them.
EMSCRIPTEN_KEEPALIVE const char* searchSeedText(float seed) {
    text = seeds::seedText(seed);
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* searchScoreText(double score) {
    text = seeds::scoreText(score);
    return text.c_str();
}

// The properties as the address and qevhost's --want write them.
EMSCRIPTEN_KEEPALIVE const char* searchWantsText() {
    text = seeds::wantsText(query);
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* searchText() {
    return text.c_str();
}

}  // extern "C"
