// Builds the plain-value input of the AVX2 kernels from the engine's own types, in baseline code.
#pragma once

#include "noise.h"
#include "noise_block_avx2.h"

namespace qev {

// The table and octave settings; the block fields (offset, scale, windows) are left at zero.
NoiseKernelInput octaveKernelInput(const OctavePlan& plan, const RandomTable& table);

}  // namespace qev
