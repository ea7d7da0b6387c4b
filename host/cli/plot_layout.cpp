#include "plot_layout.h"

namespace qevhost::cli {

double textWidth(const std::string& text, double fontSize) {
    // An average sans-serif glyph is a little over half as wide as the font is high.
    return static_cast<double>(text.size()) * fontSize * 0.56;
}

std::vector<std::string> wrapText(const std::string& text, double width, double fontSize) {
    std::vector<std::string> lines;
    std::string rest = text;
    while (textWidth(rest, fontSize) > width) {
        // The last break that keeps the line within the width, else the first one at all.
        std::size_t cut = std::string::npos;
        for (std::size_t at = rest.find_first_of(",;"); at != std::string::npos;
             at = rest.find_first_of(",;", at + 1)) {
            if (at + 1 >= rest.size() || rest[at + 1] != ' ') continue;
            if (cut != std::string::npos && textWidth(rest.substr(0, at + 1), fontSize) > width) {
                break;
            }
            cut = at;
        }
        if (cut == std::string::npos) break;
        lines.push_back(rest.substr(0, cut + 1));
        rest = rest.substr(cut + 2);
    }
    lines.push_back(rest);
    return lines;
}

std::vector<LegendEntry> layoutLegend(const std::vector<std::string>& names, double left,
                                      double right, double top) {
    std::vector<LegendEntry> entries;
    double x = left, y = top + kLegendFont;
    for (const auto& name : names) {
        const double width = kLegendSample + 6 + textWidth(name, kLegendFont);
        if (x > left && x + width > right) {
            x = left;
            y += kLegendRow;
        }
        entries.push_back({x, y});
        x += width + 22;
    }
    return entries;
}

}  // namespace qevhost::cli
