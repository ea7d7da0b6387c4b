// Records exchanged with the host. The host allocates and owns every one of them; a module writes
// only the fields named here and leaves every other byte as the host handed it. The layouts are a
// binary interface: packed (no padding) and fixed field by field for the 32-bit x86 build and the
// 64-bit x86-64 build, checked at compile time below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qev {

// Opaque per-parameter handle from SetEventAddress; passed back to the host services unread.
using EventHandle = void*;

// Kinds of parameter in ParamInfo::paramType.
enum ParamType : int32_t {
    NumberBox = 5,  // numeric, unbounded or bounded below only
    Fader = 6,      // numeric with both bounds
    Button = 7,     // push button; acts through its CallBack message
    ListBox = 8,    // choice among listItems; the value is the 0-based item index
    DataArray = 10  // outlet carrying an array of floats whose length the module sets
};

constexpr std::size_t kPointerSize = sizeof(void*);

#pragma pack(push, 1)

// The module's self-description, filled by onGetModuleInfo (main thread).
struct ModuleInfo {
    const char* name;         // module name with a hyphen, "Qev-Random"
    const char* description;  // module name with a space, "Qev Random"
    int32_t moduleType;       // 0
    int32_t hostLookup;       // lookupHostValue(60), or 0 without a HostInfo
    int32_t numberOfParams;   // parameter count; AfterQuery rewrites it
    uint8_t hostReserved0[8];
    int32_t optionCode;  // 0
    uint8_t hostReserved1[3 * kPointerSize + 16];
    const char* version;  // "2.0"
};

// One parameter's description, filled by onGetParamInfo (main thread).
struct ParamInfo {
    int32_t paramType;    // a ParamType code
    const char* caption;  // "Random Seed", ...
    int32_t isInput;      // 1 for an inlet
    int32_t commonFlag;   // 1 on every parameter
    int32_t settingFlag;  // 0 on numeric settings, else the host's
    uint8_t hostReserved0[8];
    float minValue;      // lowest value; -FLT_MAX when unbounded
    float maxValue;      // highest value; FLT_MAX when unbounded
    float defaultValue;  // value of a new instance
    void* hostReserved1;
    const char* format;     // printf format with one floating-point conversion
    const char* listItems;  // ListBox items: "\"A\",\"B\""
    void* hostReserved2;
    int32_t isOutput;  // 1 for an outlet
    int32_t modeCode;  // 2 on the seed, 0 on a Button, else the host's
    uint8_t hostReserved3[8];
    int32_t startsGroup;  // 1 on the first parameter of a group, else the host's
};

// The message handed to CallBack (audio or main thread, as the host chooses).
struct CallBackMessage {
    void* hostReserved;      // never read
    intptr_t paramIndex;     // the parameter the message is about
    intptr_t messageDetail;  // modules act only when this is 0
};

#pragma pack(pop)

// Compile-time layout checks, both builds.
#define QEV_CHECK_OFFSET(record, field, off32, off64)                                 \
    static_assert(offsetof(record, field) == (kPointerSize == 4 ? (off32) : (off64)), \
                  #record "::" #field " offset")

static_assert(kPointerSize == 4 || kPointerSize == 8, "32-bit or 64-bit build only");
QEV_CHECK_OFFSET(ModuleInfo, name, 0, 0);
QEV_CHECK_OFFSET(ModuleInfo, description, 4, 8);
QEV_CHECK_OFFSET(ModuleInfo, moduleType, 8, 16);
QEV_CHECK_OFFSET(ModuleInfo, hostLookup, 12, 20);
QEV_CHECK_OFFSET(ModuleInfo, numberOfParams, 16, 24);
QEV_CHECK_OFFSET(ModuleInfo, optionCode, 28, 36);
QEV_CHECK_OFFSET(ModuleInfo, version, 60, 80);
static_assert(sizeof(ModuleInfo) == (kPointerSize == 4 ? 64 : 88), "ModuleInfo size");

QEV_CHECK_OFFSET(ParamInfo, paramType, 0, 0);
QEV_CHECK_OFFSET(ParamInfo, caption, 4, 4);
QEV_CHECK_OFFSET(ParamInfo, isInput, 8, 12);
QEV_CHECK_OFFSET(ParamInfo, commonFlag, 12, 16);
QEV_CHECK_OFFSET(ParamInfo, settingFlag, 16, 20);
QEV_CHECK_OFFSET(ParamInfo, minValue, 28, 32);
QEV_CHECK_OFFSET(ParamInfo, maxValue, 32, 36);
QEV_CHECK_OFFSET(ParamInfo, defaultValue, 36, 40);
QEV_CHECK_OFFSET(ParamInfo, format, 44, 52);
QEV_CHECK_OFFSET(ParamInfo, listItems, 48, 60);
QEV_CHECK_OFFSET(ParamInfo, isOutput, 56, 76);
QEV_CHECK_OFFSET(ParamInfo, modeCode, 60, 80);
QEV_CHECK_OFFSET(ParamInfo, startsGroup, 72, 92);
static_assert(sizeof(ParamInfo) == (kPointerSize == 4 ? 76 : 96), "ParamInfo size");

QEV_CHECK_OFFSET(CallBackMessage, hostReserved, 0, 0);
QEV_CHECK_OFFSET(CallBackMessage, paramIndex, 4, 8);
QEV_CHECK_OFFSET(CallBackMessage, messageDetail, 8, 16);
static_assert(sizeof(CallBackMessage) == 3 * kPointerSize, "CallBackMessage size");

}  // namespace qev
