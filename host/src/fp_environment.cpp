#include "qevhost/fp_environment.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace qevhost {

namespace {

// The exception masks, all set on a fresh thread.
constexpr uint32_t kFreshMxcsr = 0x1f80;

std::string hex(uint32_t value, int digits) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text = "0x";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 15];
    return text;
}

std::string roundingName(uint32_t bits) {
    switch (bits) {
        case 0:
            return "round to nearest";
        case 1:
            return "round down";
        case 2:
            return "round up";
        default:
            return "round toward zero";
    }
}

void add(std::string& list, const std::string& item) {
    list += (list.empty() ? "" : ", ") + item;
}

std::string mxcsrNotes(uint32_t mxcsr) {
    std::string notes;
    if (mxcsr & kMxcsrFtz) add(notes, "FTZ");
    if (mxcsr & kMxcsrDaz) add(notes, "DAZ");
    if (mxcsr & kMxcsrRounding) add(notes, roundingName((mxcsr & kMxcsrRounding) >> 13));
    if ((mxcsr & kFreshMxcsr) != kFreshMxcsr) add(notes, "exceptions unmasked");
    if (mxcsr & kMxcsrFlags) add(notes, "flags " + hex(mxcsr & kMxcsrFlags, 2));
    return notes;
}

std::string x87Notes(uint16_t word) {
    std::string notes;
    switch (word & kX87Precision) {
        case kX87Precision24:
            add(notes, "24-bit precision");
            break;
        case kX87Precision53:
            add(notes, "53-bit precision");
            break;
        default:
            break;
    }
    if (word & 0x0c00) add(notes, roundingName((word & 0x0c00) >> 10u));
    if ((word & 0x3f) != 0x3f) add(notes, "exceptions unmasked");
    return notes;
}

std::string withNotes(std::string text, const std::string& notes) {
    return notes.empty() ? text : text + " (" + notes + ")";
}

std::string onOff(uint32_t bit) {
    return bit ? " on" : " off";
}

std::string precisionName(uint16_t word) {
    switch (word & kX87Precision) {
        case kX87Precision24:
            return "24";
        case kX87Precision53:
            return "53";
        case kX87Precision64:
            return "64";
        default:
            return "?";
    }
}

std::string mxcsrChanges(uint32_t before, uint32_t after) {
    std::string notes;
    if ((before ^ after) & kMxcsrFtz) add(notes, "FTZ" + onOff(after & kMxcsrFtz));
    if ((before ^ after) & kMxcsrDaz) add(notes, "DAZ" + onOff(after & kMxcsrDaz));
    if ((before ^ after) & kMxcsrRounding) {
        add(notes, roundingName((before & kMxcsrRounding) >> 13) + " to " +
                       roundingName((after & kMxcsrRounding) >> 13));
    }
    if ((before ^ after) & kFreshMxcsr) add(notes, "exception masks changed");
    if (after & ~before & kMxcsrFlags)
        add(notes, "flags " + hex(after & ~before & kMxcsrFlags, 2) + " raised");
    if (before & ~after & kMxcsrFlags)
        add(notes, "flags " + hex(before & ~after & kMxcsrFlags, 2) + " cleared");
    return notes;
}

std::string x87Changes(uint16_t before, uint16_t after) {
    std::string notes;
    if ((before ^ after) & kX87Precision) {
        add(notes, "precision " + precisionName(before) + " to " + precisionName(after) + " bits");
    }
    if ((before ^ after) & 0x0c00) {
        add(notes, roundingName((before & 0x0c00) >> 10u) + " to " +
                       roundingName((after & 0x0c00) >> 10u));
    }
    if ((before ^ after) & 0x3f) add(notes, "exception masks changed");
    return notes;
}

// The value named after the first `skip` characters of item ("round=down": skip 6), or an
// error that says what is expected.
template <typename T>
T namedValue(const std::string& item, std::size_t skip,
             std::initializer_list<std::pair<const char*, T>> choices, const char* expected) {
    const std::string name = item.substr(skip);
    for (const auto& choice : choices) {
        if (name == choice.first) return choice.second;
    }
    throw std::invalid_argument("\"" + item + "\": " + expected);
}

}  // namespace

std::string fpChangeText(const FpEnvironment& before, const FpEnvironment& after) {
    std::string text;
    if (before.mxcsr != after.mxcsr) {
        text = withNotes("MXCSR " + hex(before.mxcsr, 4) + " to " + hex(after.mxcsr, 4),
                         mxcsrChanges(before.mxcsr, after.mxcsr));
    }
    if (before.x87ControlWord != after.x87ControlWord) {
        add(text, withNotes("x87 control word " + hex(before.x87ControlWord, 4) + " to " +
                                hex(after.x87ControlWord, 4),
                            x87Changes(before.x87ControlWord, after.x87ControlWord)));
    }
    return text;
}

bool hasX87ControlWord() {
#if defined(__i386__)
    return true;
#else
    return false;
#endif
}

bool hasFpEnvironment() {
#if defined(__x86_64__) || defined(__i386__)
    return true;
#else
    return false;
#endif
}

FpEnvironment currentFpEnvironment() {
    FpEnvironment environment;
#if defined(__x86_64__) || defined(__i386__)
    environment.mxcsr = _mm_getcsr();
#endif
#if defined(__i386__)
    __asm__ volatile("fnstcw %0" : "=m"(environment.x87ControlWord));
#endif
    return environment;
}

void setFpEnvironment(const FpEnvironment& environment) {
#if defined(__x86_64__) || defined(__i386__)
    _mm_setcsr(environment.mxcsr);
#endif
#if defined(__i386__)
    __asm__ volatile("fldcw %0" : : "m"(environment.x87ControlWord));
#endif
    (void)environment;
}

std::string fpEnvironmentText(const FpEnvironment& environment) {
    std::string text =
        withNotes("MXCSR " + hex(environment.mxcsr, 4), mxcsrNotes(environment.mxcsr));
    if (hasX87ControlWord()) {
        text += ", " + withNotes("x87 " + hex(environment.x87ControlWord, 4),
                                 x87Notes(environment.x87ControlWord));
    }
    return text;
}

FpEnvironment parseFpEnvironment(const std::string& list, FpEnvironment base) {
    if (!hasFpEnvironment()) {
        throw std::invalid_argument("this build has no floating-point environment to set");
    }
    const std::string x87Items = hasX87ControlWord() ? ", x87=24|53|64" : "";
    const std::string known = "ftz, daz, round=nearest|down|up|zero" + x87Items;
    if (list.empty()) throw std::invalid_argument("empty list; use " + known);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, end - start);
        if (item == "ftz") {
            base.mxcsr |= kMxcsrFtz;
        } else if (item == "daz") {
            base.mxcsr |= kMxcsrDaz;
        } else if (item.rfind("round=", 0) == 0) {
            const uint32_t bits = namedValue<uint32_t>(item, 6,
                                                       {{"nearest", 0},
                                                        {"down", kMxcsrRoundDown},
                                                        {"up", kMxcsrRoundUp},
                                                        {"zero", kMxcsrRoundZero}},
                                                       "the rounding is nearest, down, up or zero");
            base.mxcsr = (base.mxcsr & ~kMxcsrRounding) | bits;
        } else if (item.rfind("x87=", 0) == 0 && hasX87ControlWord()) {
            const uint16_t precision = namedValue<uint16_t>(
                item, 4,
                {{"24", kX87Precision24}, {"53", kX87Precision53}, {"64", kX87Precision64}},
                "the x87 precision is 24, 53 or 64 bits");
            base.x87ControlWord =
                static_cast<uint16_t>((base.x87ControlWord & ~kX87Precision) | precision);
        } else if (item.rfind("x87=", 0) == 0) {
            throw std::invalid_argument(
                "\"" + item + "\": only 32-bit builds compute on the x87 unit; use " + known);
        } else {
            throw std::invalid_argument("unknown item \"" + item + "\"; use " + known);
        }
        start = end + 1;
    }
    return base;
}

}  // namespace qevhost
