// What a module says about itself: its ModuleInfo and one ParamInfo per parameter, as read back
// from the host's records. Every field is nullopt when the module left it unwritten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qevhost {

enum ParamType : int32_t { NumberBox = 5, Fader = 6, Button = 7, ListBox = 8, DataArray = 10 };

// Equal texts without regard to ASCII case.
bool captionsMatch(std::string_view a, std::string_view b);

// "NumberBox", "Fader", ... or "type N" for an unknown code.
std::string paramTypeName(int32_t code);

struct ParamDescription {
    int32_t index = 0;
    bool untouched = true;  // the module wrote no byte of the record
    std::optional<int32_t> paramType;
    std::optional<std::string> caption;
    std::optional<int32_t> isInput, isOutput, commonFlag;
    std::optional<int32_t> settingFlag, modeCode, startsGroup;
    std::optional<float> minValue, maxValue, defaultValue;
    std::optional<std::string> format, listItems;
    std::vector<std::size_t> hostBytesOverwritten;  // offsets of host-owned bytes changed

    bool input() const { return isInput.value_or(0) != 0; }
    bool output() const { return isOutput.value_or(0) != 0; }
    // The ListBox items without their quotes, in order.
    std::vector<std::string> items() const;
};

struct ModuleDescription {
    std::optional<std::string> name, description, version;
    std::optional<int32_t> moduleType, hostLookup, numberOfParams, optionCode;
    std::vector<std::size_t> hostBytesOverwritten;
    std::vector<ParamDescription> params;  // indices 0 to numberOfParams - 1

    // Index of the parameter with this caption, compared without regard to case; -1 if none.
    int indexOf(std::string_view caption) const;
};

}  // namespace qevhost
