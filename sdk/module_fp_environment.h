// The floating-point environment every module computes in, whatever its caller's thread uses:
// round to nearest, subnormals kept (no flush-to-zero, no denormals-are-zero), every exception
// masked. On 32-bit x86 the x87 control word too: the C library's floor, fmod and frexp compute
// on the x87 unit there (frexp multiplies at the x87 precision, fmod raises x87 exceptions).
//
// An entry point holds a ModuleFpEnvironment for the whole call. It sets the module's control
// bits only when the caller's differ, and then puts the caller's control bits back on every way
// out, a caught exception too. Sticky exception flags are never cleared, neither on the way in
// nor out: the flags the module's arithmetic raised stay raised, as after any function call.
// Clearing one costs a processor assist of over 100 ns when the next call raises it again.
// No allocation, no lock, no call.
// A frame built with QEV_FRAME_IN_CALLER_FP_ENVIRONMENT leaves the caller's environment in force:
// only test modules do, to show what the validator catches without this.
#pragma once

#include <cstdint>

#if (defined(__x86_64__) || defined(__i386__)) && !defined(QEV_FRAME_IN_CALLER_FP_ENVIRONMENT)
#include <xmmintrin.h>
#define QEV_FP_ENVIRONMENT_SSE 1
#if defined(__i386__)
#define QEV_FP_ENVIRONMENT_X87 1
#endif
#endif

namespace qev {

// MXCSR: every exception masked, round to nearest, no FTZ, no DAZ, no flags raised.
constexpr uint32_t kModuleMxcsr = 0x1f80;
// The MXCSR bits that are sticky exception flags rather than control.
constexpr uint32_t kMxcsrFlags = 0x3f;
// x87 control word: every exception masked, round to nearest, and the system's usual precision
// (53 bits on Windows, 64 on Linux), so a usual caller costs no write. The library routines the
// modules call are exact at either.
#if defined(_WIN32)
constexpr uint16_t kModuleX87ControlWord = 0x027f;
#else
constexpr uint16_t kModuleX87ControlWord = 0x037f;
#endif

#if defined(QEV_FP_ENVIRONMENT_SSE)

class ModuleFpEnvironment {
  public:
    ModuleFpEnvironment() noexcept : callerMxcsr_(_mm_getcsr()) {
        mxcsrSet_ = (callerMxcsr_ & ~kMxcsrFlags) != kModuleMxcsr;
        if (mxcsrSet_) _mm_setcsr(kModuleMxcsr | (callerMxcsr_ & kMxcsrFlags));
#if defined(QEV_FP_ENVIRONMENT_X87)
        __asm__ volatile("fnstcw %0" : "=m"(callerX87_));
        if (callerX87_ != kModuleX87ControlWord) {
            const uint16_t word = kModuleX87ControlWord;
            __asm__ volatile("fldcw %0" : : "m"(word));
            x87Set_ = true;
        }
#endif
    }

    // The module's code never writes either control register, so only what the constructor set
    // needs putting back: a caller already in the module's environment costs no second read.
    ~ModuleFpEnvironment() {
        if (mxcsrSet_) _mm_setcsr((callerMxcsr_ & ~kMxcsrFlags) | (_mm_getcsr() & kMxcsrFlags));
#if defined(QEV_FP_ENVIRONMENT_X87)
        if (x87Set_) __asm__ volatile("fldcw %0" : : "m"(callerX87_));
#endif
    }

    ModuleFpEnvironment(const ModuleFpEnvironment&) = delete;
    ModuleFpEnvironment& operator=(const ModuleFpEnvironment&) = delete;

  private:
    uint32_t callerMxcsr_;
    bool mxcsrSet_;
#if defined(QEV_FP_ENVIRONMENT_X87)
    uint16_t callerX87_;
    bool x87Set_ = false;
#endif
};

#else

// WebAssembly has one environment, round to nearest, and nothing to set.
class ModuleFpEnvironment {
  public:
    ModuleFpEnvironment() noexcept {}
    ModuleFpEnvironment(const ModuleFpEnvironment&) = delete;
    ModuleFpEnvironment& operator=(const ModuleFpEnvironment&) = delete;
};

#endif

}  // namespace qev
