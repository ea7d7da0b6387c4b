// The generator's bulk work on a block of 624 words held in reverse order (state[623] = mt[0]):
// the twist, and runs of draws that stay within the block. Baseline versions (SSE2 where the
// build has it) and AVX2 versions (seeded_generator_avx2.cpp, only after the CPU check) give
// the same words and the same doubles.
#pragma once

#include <cstdint>

namespace qev {

// The MT19937 twist of one block, in place.
void twistBlock(uint32_t* state);
void twistBlockAvx2(uint32_t* state);

// The tempered copy of a block, word for word.
void temperBlock(const uint32_t* state, uint32_t* tempered);

// count draws from read position p on, none leaving the block (count <= p / 3): draw j is
// first * 2^-32 + second * 2^-64 of the tempered words at p - 2 - 3j (first) and p - 3 - 3j.
// The baseline version reads an already tempered block, the AVX2 one tempers as it reads.
void drawRunTempered(const uint32_t* tempered, int32_t p, double* out, int32_t count);
void drawRunAvx2(const uint32_t* state, int32_t p, double* out, int32_t count);

}  // namespace qev
