// A thread's floating-point environment as a host sets it: the SSE control and status register
// (MXCSR) and, on 32-bit x86, the x87 control word. Read and set on the calling thread only.
#pragma once

#include <cstdint>
#include <string>

namespace qevhost {

struct FpEnvironment {
    uint32_t mxcsr = 0;
    uint16_t x87ControlWord = 0;  // 0 where there is none to set (64-bit code computes with SSE)

    bool operator==(const FpEnvironment& other) const {
        return mxcsr == other.mxcsr && x87ControlWord == other.x87ControlWord;
    }
    bool operator!=(const FpEnvironment& other) const { return !(*this == other); }
};

// MXCSR bits.
constexpr uint32_t kMxcsrFlags = 0x003f;  // sticky exception flags
constexpr uint32_t kMxcsrDaz = 0x0040;
constexpr uint32_t kMxcsrRounding = 0x6000;
constexpr uint32_t kMxcsrRoundDown = 0x2000;
constexpr uint32_t kMxcsrRoundUp = 0x4000;
constexpr uint32_t kMxcsrRoundZero = 0x6000;
constexpr uint32_t kMxcsrFtz = 0x8000;
// x87 control word: precision control, 24, 53 or 64 bits.
constexpr uint16_t kX87Precision = 0x0300;
constexpr uint16_t kX87Precision24 = 0x0000;
constexpr uint16_t kX87Precision53 = 0x0200;
constexpr uint16_t kX87Precision64 = 0x0300;

// True where the environment is more than the SSE register: 32-bit x86, whose C library computes
// some functions on the x87 unit.
bool hasX87ControlWord();
// True where there is an environment to set at all (x86 and x86-64).
bool hasFpEnvironment();

FpEnvironment currentFpEnvironment();
void setFpEnvironment(const FpEnvironment& environment);

// "MXCSR 0x9f80 (FTZ, round down)", plus "x87 0x007f (24-bit precision)" where there is one:
// the register values and the settings in them that differ from a fresh thread's.
std::string fpEnvironmentText(const FpEnvironment& environment);

// What `after` changed from `before`: "MXCSR 0x3f80 to 0xbfa0 (FTZ on, DAZ on, flags 0x20
// raised)", and the x87 control word likewise; "" when nothing did.
std::string fpChangeText(const FpEnvironment& before, const FpEnvironment& after);

// `base` changed by a comma list of "ftz", "daz", "round=nearest|down|up|zero" and, on 32-bit
// x86, "x87=24|53|64". Throws std::invalid_argument with a message naming the bad item.
FpEnvironment parseFpEnvironment(const std::string& list, FpEnvironment base);

}  // namespace qevhost
