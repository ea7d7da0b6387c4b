// Calls a two-argument C function with the stack pointer at a chosen distance from a 16-byte
// boundary at the call, as a 32-bit Windows caller that keeps only 4-byte alignment may do.
// 32-bit x86 only.
#pragma once

#include <cstdint>

extern "C" {
using QevTwoArgumentCall = uintptr_t (*)(void*, void*);

// Calls function(a, b) with (esp mod 16) == offset at the call instruction (offset 0, 4, 8 or
// 12) and returns its result. Elsewhere it is a plain call.
uintptr_t qevCallMisaligned(QevTwoArgumentCall function, void* a, void* b, uint32_t offset);
// The stack pointer of its caller at the call instruction, to check the trampoline above.
uintptr_t qevStackAtCall(void*, void*);
}
