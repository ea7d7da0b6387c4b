// Which vector paths this processor runs. Nothing is probed when the library loads: the choice is
// made once per process, the first time a generator or a random table is made (inside Create,
// never on a real-time call), and from then on avx2Available() is one plain read of a flag.
#pragma once

namespace qev {

// Probes the processor, the first time only; later calls return at once. Thread-safe, without
// the C++ runtime's guards (they allocate in some threads libraries and keep it past unload).
void chooseVectorPaths();

// True when chooseVectorPaths() found that the processor and the operating system report AVX2.
// False before the choice, and always in builds defining QEV_BASELINE_ONLY: the benchmarks'
// scalar reference, and the tests that run the baseline paths on an AVX2 processor.
bool avx2Available();

// True when the choice found AVX2 and also AVX-512 F, DQ and VL (the AVX-512 kernels run here);
// false where avx2Available() is.
bool avx512Available();

// True when the engine's own choice takes the AVX-512 kernels: they run here and were measured
// to be faster on processors of this kind (cpu_check.cpp).
bool avx512Preferred();

}  // namespace qev
