// What a seed search looks for: a sketch of the curve, and properties the curve should have.
// Read from the same text in qevhost (--want, --like) and in the explorer page's address.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace seeds {

struct SketchPoint {
    double x, y;  // x along the curve's axis (an input, or an element index), y an output value
};

struct Query {
    std::vector<SketchPoint> sketch;     // empty: no sketch; else sorted by x
    std::optional<double> starts, ends;  // output values
    bool loops = false;
    bool range = false;       // spread over the output range
    bool seldomEnds = false;  // seldom exactly at "Output Min" or "Output Max"
    int calm = 0;             // 1 calm, -1 lively
    int rising = 0;           // 1 rising, -1 falling (Qev RandomArray)
};

// Adds the properties of a list such as "starts=0.2,loops,calm" to `query`. False, with `error`
// saying why, for an unknown or repeated property, a missing or extra number, or properties that
// exclude each other.
bool addWants(Query& query, const std::string& text, std::string& error);

// The properties as addWants reads them back, in a fixed order ("" for none).
std::string wantsText(const Query& query);

// Sketch points from CSV text: two numbers a row, x and y, separated by a comma; a first row that
// is not numbers (a header such as "Input,Output") and empty lines are left out, further columns
// are ignored. False, with `error` naming the line, for anything else or fewer than two points.
bool readSketch(Query& query, const std::string& csv, std::string& error);

}  // namespace seeds
