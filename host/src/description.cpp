#include "qevhost/description.h"

#include <cctype>

namespace qevhost {

std::string paramTypeName(int32_t code) {
    switch (code) {
        case NumberBox:
            return "NumberBox";
        case Fader:
            return "Fader";
        case Button:
            return "Button";
        case ListBox:
            return "ListBox";
        case DataArray:
            return "DataArray";
        default:
            return "type " + std::to_string(code);
    }
}

std::vector<std::string> ParamDescription::items() const {
    std::vector<std::string> result;
    if (!listItems) return result;
    // Items are quoted and separated by single commas: "A","B".
    std::string current;
    bool quoted = false;
    for (char c : *listItems) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            result.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    result.push_back(current);
    return result;
}

bool captionsMatch(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int ModuleDescription::indexOf(std::string_view caption) const {
    for (const auto& p : params) {
        if (p.caption && captionsMatch(*p.caption, caption)) return p.index;
    }
    return -1;
}

}  // namespace qevhost
