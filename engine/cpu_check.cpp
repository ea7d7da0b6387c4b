#include "cpu_check.h"

#include <atomic>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#endif

namespace qev {

namespace {

// All constant-initialised, so loading the library runs no code for them. The flags are written
// once, by the caller that claims the choice, before it publishes kChosen; every object that
// reads them is made after a caller has seen kChosen.
enum Choice : int { kUnchosen, kProbing, kChosen };
std::atomic<int> gChoice{kUnchosen};
bool gAvx2 = false;
bool gAvx512 = false;
bool gAvx512Preferred = false;

// The processor's own report, as any program takes it: the CPUID bits, and the operating
// system's saving of the vector registers (the runtime's check includes XGETBV). Nothing is
// executed to test it: a test instruction that faults, in a buggy emulator say, would take the
// host's whole process down. Emulated test runs take an emulator that executes what it
// reports (scripts/run-i386).
[[maybe_unused]] bool processorRunsAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

[[maybe_unused]] bool processorRunsAvx512() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vl");
#else
    return false;
#endif
}

// The AVX-512 block kernels are taken where they were measured to pay: AMD processors of family
// 26 (Zen 5) and later, whose units are a full 512 bits wide (2048 elements at 16 octaves in 0.85
// of the AVX2 block's time at Fade 0, 0.56 at Fade 1). Zen 4 (family 25) runs each 512-bit
// operation as two 256-bit halves, and Intel's processors divide eight doubles no faster per
// double than four and some lower their clock under 512-bit code; neither was measured, so both
// keep the AVX2 kernels. So do 32-bit builds: they compile the same kernels (and their tests run
// them wherever the processor has AVX-512), but no 32-bit program ran natively where the
// kernels were measured.
[[maybe_unused]] bool avx512PaysHere() {
#if defined(__GNUC__) && defined(__x86_64__)
    __builtin_cpu_init();
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__builtin_cpu_is("amd") || !__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    unsigned family = (eax >> 8) & 0xF;
    if (family == 0xF) family += (eax >> 20) & 0xFF;
    return family >= 26;
#else
    return false;
#endif
}

}  // namespace

// Not a function-local static: its guard would take a lock of the threads library, which on some
// systems allocates at first use and is never given back when the library unloads.
void chooseVectorPaths() {
#if !defined(QEV_BASELINE_ONLY)
    if (gChoice.load(std::memory_order_acquire) == kChosen) return;
    int expected = kUnchosen;
    if (gChoice.compare_exchange_strong(expected, kProbing, std::memory_order_acquire)) {
        gAvx2 = processorRunsAvx2();
        gAvx512 = gAvx2 && processorRunsAvx512();
        gAvx512Preferred = gAvx512 && avx512PaysHere();
        gChoice.store(kChosen, std::memory_order_release);
        return;
    }
    // Another thread is probing: a few microseconds, once per process.
    while (gChoice.load(std::memory_order_acquire) != kChosen) {
    }
#endif
}

bool avx2Available() {
    return gAvx2;
}

bool avx512Available() {
    return gAvx512;
}

bool avx512Preferred() {
    return gAvx512Preferred;
}

}  // namespace qev
