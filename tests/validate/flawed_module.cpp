#include "flawed_module.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "entry_points.h"
#include "host_services.h"

#if QEV_FLAW == QEV_FLAW_FP_LEAKS
#include <xmmintrin.h>
#endif

namespace qev::test {

namespace {

constexpr int32_t kMaxLength = 64;

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A value in [0, 1) from two words.
float hashToUnit(uint32_t a, uint32_t b) {
    uint64_t z = (static_cast<uint64_t>(a) << 32 | b) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<float>((z >> 40) * (1.0 / 16777216.0));
}

// "Array Size" as a count in 0 to 64; NaN and values below 1 give 0.
int32_t countOf(float value) {
    if (!(value >= 1.0f)) return 0;
    return value >= static_cast<float>(kMaxLength) ? kMaxLength : static_cast<int32_t>(value);
}

struct Row {
    ParamType type;
    const char* caption;
    bool isInput;
    float minValue, maxValue, defaultValue;
    const char* format;
};

const Row kRows[kParamCount] = {
    {NumberBox, "Input", true, -FLT_MAX, FLT_MAX, 0.0f, "%.5f"},
    {NumberBox, "Random Seed", true, -FLT_MAX, FLT_MAX, 42.0f, "%.0f"},
    {Fader, "Array Size", true, 1.0f, 64.0f, 8.0f, "%.0f"},
    {NumberBox, "Output", false, 0.0f, 1.0f, 0.0f, "%.5f"},
    {DataArray, "Values", false, 0.0f, 1.0f, 0.0f, nullptr},
};

#if QEV_FLAW == QEV_FLAW_KEEPS_MEMORY
void* volatile gKept = nullptr;
__attribute__((constructor)) void keepMemoryAtLoad() {
    gKept = std::malloc(4096);
}
#endif

}  // namespace

void FlawedModule::onGetModuleInfo(HostInfo*, ModuleInfo* info) {
    info->name = "Qev-Flawed";
    info->description = "Qev Flawed";
    info->moduleType = 0;
    info->hostLookup = 0;
    info->numberOfParams = kParamCount;
    info->optionCode = 0;
    info->version = "1.0";
}

void FlawedModule::onInitModule(HostInfo*, ModuleInfo*) {
    resize();
}

void FlawedModule::onGetParamInfo(int32_t index, ParamInfo* param) {
    if (static_cast<uint32_t>(index) >= kParamCount) return;
#if QEV_FLAW == QEV_FLAW_CLEARS_RECORD
    std::memset(param, 0, sizeof *param);
#endif
    const Row& row = kRows[index];
    param->paramType = row.type;
    param->caption = row.caption;
#if QEV_FLAW == QEV_FLAW_BAD_CAPTION
    // An address in the first page, which no process maps: the host crashes reading it.
    if (index == kOutput) {
        std::fputs("Qev Flawed: describing Output\n", stdout);
        param->caption = reinterpret_cast<const char*>(static_cast<uintptr_t>(16));
    }
#endif
    param->isInput = row.isInput ? 1 : 0;
    param->isOutput = row.isInput ? 0 : 1;
    param->commonFlag = 1;
    param->minValue = row.minValue;
    param->maxValue = row.maxValue;
    param->defaultValue = row.defaultValue;
    if (row.format) param->format = row.format;
}

void FlawedModule::onSetEventAddress(int32_t index, EventHandle handle) {
    if (static_cast<uint32_t>(index) < kParamCount) handles[index] = handle;
}

void FlawedModule::onCallBack(CallBackMessage* message) {
    if (message->messageDetail != 0) return;
#if QEV_FLAW == QEV_FLAW_NO_HOST_CHECK
    hostInfo->getEventValue(handles[kSeed]);
#endif
    if (message->paramIndex == kArraySize) resize();
    fill();
#if QEV_FLAW == QEV_FLAW_FP_LEAKS
    _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
}

void FlawedModule::onProcess() {
    const float input = read(kInput);
#if QEV_FLAW == QEV_FLAW_THROWS
    if (!std::isfinite(input)) throw std::domain_error("Input is not a number");
#elif QEV_FLAW == QEV_FLAW_HANGS
    for (volatile uint32_t spins = 0; std::isnan(input); spins = spins + 1) {
    }
#endif
    float output = hashToUnit(bitsOf(read(kSeed)), bitsOf(input)) / 3.0f;
#if QEV_FLAW == QEV_FLAW_FP_LEAKS
    _mm_setcsr(_mm_getcsr() | 0x8040);
#endif
#if QEV_FLAW == QEV_FLAW_NAN_PAST_RANGE
    // 0 * inf, as a curve meets it at a setting its fader never reaches.
    output += 0.0f * (1.0f / read(kArraySize));
#endif
#if QEV_FLAW == QEV_FLAW_ALLOCATES
    void* (*volatile allocate)(std::size_t) = std::malloc;
    auto* scratch = static_cast<float*>(allocate(sizeof(float)));
    *scratch = output;
    output = *scratch;
    std::free(scratch);
#endif
    setEventValue(hostInfo, handles[kOutput], output);
}

float FlawedModule::read(FlawedParam param) const {
    return getEventValue(hostInfo, handles[param]);
}

void FlawedModule::resize() {
    length = countOf(read(kArraySize));
#if QEV_FLAW == QEV_FLAW_NEGATIVE_LENGTH
    // Truncated without a floor: a size of -3 asks the host for -3 elements.
    const float size = read(kArraySize);
    if (size <= -1.0f && size > -2147483648.0f) {
        setEventSize(hostInfo, handles[kValues], static_cast<int32_t>(size));
        return;
    }
#endif
    setEventSize(hostInfo, handles[kValues], length);
}

void FlawedModule::fill() {
    const uint32_t seed = bitsOf(read(kSeed));
#if QEV_FLAW == QEV_FLAW_STRAY_WRITE
    const int32_t count = countOf(read(kArraySize));
#else
    const int32_t count = length;
#endif
    for (int32_t i = 0; i < count; ++i) {
        // A division, as "Output" has: its last bit follows the rounding mode in force.
        setEventArrayValue(hostInfo, handles[kValues], i,
                           hashToUnit(seed, static_cast<uint32_t>(i)) / 3.0f);
    }
}

}  // namespace qev::test

namespace qev {

UserModuleBase* createModule() {
    return new test::FlawedModule();
}

}  // namespace qev
