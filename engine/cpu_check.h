// Which vector paths this processor runs. Checked once, when the library loads; the answer never
// changes afterwards, so the paths are picked without any per-call cost beyond one flag.
#pragma once

namespace qev {

// True when the processor and the operating system run AVX2 code and its gathers read every lane
// (some emulators get them wrong; the engine then keeps to its baseline paths). Builds defining
// QEV_BASELINE_ONLY answer false: the benchmarks' scalar reference, and the tests that run the
// baseline paths on a processor with AVX2.
bool avx2Available();

}  // namespace qev
