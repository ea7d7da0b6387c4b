#include "cpu_check.h"

#include <atomic>

namespace qev {

namespace {

// Both constant-initialised, so loading the library runs no code for them. gAvx2 is written once,
// by the caller that claims the choice, before it publishes kChosen; every object that reads it
// is made after a caller has seen kChosen.
enum Choice : int { kUnchosen, kProbing, kChosen };
std::atomic<int> gChoice{kUnchosen};
bool gAvx2 = false;

// The processor's own report, as any program takes it: the CPUID bit, and the operating system's
// saving of the vector registers (the runtime's check includes XGETBV). Nothing is executed to
// test it: a test instruction that faults, in a buggy emulator say, would take the host's whole
// process down. Emulated test runs present a processor without AVX (scripts/run-i386).
[[maybe_unused]] bool processorRunsAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
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

}  // namespace qev
