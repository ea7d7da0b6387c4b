#include "seed_query.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace seeds {

namespace {

std::optional<double> finiteNumber(const std::string& text) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string shortest(double value) {
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

}  // namespace

bool addWants(Query& q, const std::string& text, std::string& error) {
    for (const std::string& raw : split(text, ',')) {
        const std::string part = trimmed(raw);
        if (part.empty()) continue;  // an empty list, or a comma too many
        const auto equals = part.find('=');
        const std::string name = part.substr(0, equals);
        const bool hasValue = equals != std::string::npos;
        const auto value = hasValue ? finiteNumber(part.substr(equals + 1)) : std::nullopt;
        const auto fail = [&](const std::string& why) {
            error = part + ": " + why;
            return false;
        };
        if (name == "starts" || name == "ends") {
            if (!value) return fail("give the value, as in " + name + "=0.2");
            auto& target = name == "starts" ? q.starts : q.ends;
            if (target) return fail("given twice");
            target = *value;
            continue;
        }
        if (hasValue) return fail("takes no value");
        bool* flag = name == "loops"         ? &q.loops
                     : name == "range"       ? &q.range
                     : name == "seldom-ends" ? &q.seldomEnds
                                             : nullptr;
        if (flag) {
            if (*flag) return fail("given twice");
            *flag = true;
            continue;
        }
        int* pole = name == "calm" || name == "lively"      ? &q.calm
                    : name == "rising" || name == "falling" ? &q.rising
                                                            : nullptr;
        if (!pole) {
            return fail(
                "unknown; the properties are starts=VALUE, ends=VALUE, loops, range, "
                "seldom-ends, calm, lively, rising, falling");
        }
        if (*pole != 0)
            return fail(pole == &q.calm ? "one of calm and lively" : "one of rising and falling");
        *pole = name == "calm" || name == "rising" ? 1 : -1;
    }
    return true;
}

std::string wantsText(const Query& q) {
    std::vector<std::string> parts;
    if (q.starts) parts.push_back("starts=" + shortest(*q.starts));
    if (q.ends) parts.push_back("ends=" + shortest(*q.ends));
    if (q.loops) parts.push_back("loops");
    if (q.range) parts.push_back("range");
    if (q.seldomEnds) parts.push_back("seldom-ends");
    if (q.calm) parts.push_back(q.calm > 0 ? "calm" : "lively");
    if (q.rising) parts.push_back(q.rising > 0 ? "rising" : "falling");
    std::string text;
    for (const auto& p : parts) text += (text.empty() ? "" : ",") + p;
    return text;
}

bool readSketch(Query& q, const std::string& csv, std::string& error) {
    std::vector<SketchPoint> points;
    std::istringstream lines(csv);
    std::string line;
    int number = 0;
    bool headerAllowed = true;
    while (std::getline(lines, line)) {
        ++number;
        line = trimmed(line);
        if (line.empty()) continue;
        const auto cells = split(line, ',');
        const auto x = finiteNumber(trimmed(cells[0]));
        const auto y = cells.size() > 1 ? finiteNumber(trimmed(cells[1])) : std::nullopt;
        if (x && y) {
            points.push_back({*x, *y});
        } else if (!headerAllowed) {
            error = "line " + std::to_string(number) + " is not two numbers x,y: " + line;
            return false;
        }
        headerAllowed = false;
    }
    if (points.size() < 2) {
        error = "a sketch needs at least two points x,y";
        return false;
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const SketchPoint& a, const SketchPoint& b) { return a.x < b.x; });
    q.sketch = std::move(points);
    return true;
}

}  // namespace seeds
