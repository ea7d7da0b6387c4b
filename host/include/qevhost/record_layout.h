// The host's own offset tables for the records it exchanges with plug-ins, for both pointer
// widths. Offsets are bytes from the start of a record; the records are packed.
#pragma once

#include <cstddef>

namespace qevhost {

struct ModuleInfoOffsets {
    std::size_t name, description, moduleType, hostLookup, numberOfParams, optionCode, version;
};

struct ParamInfoOffsets {
    std::size_t paramType, caption, isInput, commonFlag, settingFlag, minValue, maxValue,
        defaultValue, format, listItems, isOutput, modeCode, startsGroup;
};

struct CallBackMessageOffsets {
    std::size_t hostReserved, paramIndex, messageDetail;
};

struct HostInfoOffsets {
    std::size_t lookupHostValue, setEventSize, setEventValue, getEventValue, setEventArrayValue,
        reportError;
};

struct RecordLayout {
    std::size_t pointerSize;
    ModuleInfoOffsets moduleInfo;
    std::size_t moduleInfoEnd;  // end of the last listed field
    ParamInfoOffsets paramInfo;
    std::size_t paramInfoEnd;
    CallBackMessageOffsets callBackMessage;
    std::size_t callBackMessageEnd;
    HostInfoOffsets hostInfo;
    std::size_t hostInfoEnd;
};

inline constexpr RecordLayout kLayout32{
    4,   {0, 4, 8, 12, 16, 28, 60},
    64,  {0, 4, 8, 12, 16, 28, 32, 36, 44, 48, 56, 60, 72},
    76,  {0, 4, 8},
    12,  {36, 60, 80, 84, 88, 352},
    356,
};

inline constexpr RecordLayout kLayout64{
    8,   {0, 8, 16, 20, 24, 36, 80},
    88,  {0, 4, 12, 16, 20, 32, 36, 40, 52, 60, 76, 80, 92},
    96,  {0, 8, 16},
    24,  {68, 116, 156, 164, 172, 700},
    708,
};

// The layout of this host build; plug-ins it loads have the same pointer width.
inline constexpr const RecordLayout& kNativeLayout = sizeof(void*) == 4 ? kLayout32 : kLayout64;

// Every record buffer is this much larger than its listed fields, all sentinel-filled, so stray
// writes past a record's end are seen too.
inline constexpr std::size_t kRecordSlack = 256;

}  // namespace qevhost
