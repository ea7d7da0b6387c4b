#include "seeded_generator.h"

#include "cpu_check.h"
#include "generator_kernels.h"

namespace qev {

SeededGenerator::SeededGenerator() {
    chooseVectorPaths();
}

void SeededGenerator::seedGenerator(uint32_t seed) {
    if (seed == 0) seed = kDefaultSeed;
    state_[kWords - 1] = seed;
    for (int i = kWords - 2; i >= 0; --i) state_[i] = state_[i + 1] * 69069u;
    position_ = kWords;
    seeded_ = true;
    twist();
}

void SeededGenerator::regenerate() {
    if (!seeded_) {
        seedGenerator(kDefaultSeed);
        return;
    }
    twist();
}

void SeededGenerator::twist() {
    if (avx2Available()) {
        twistBlockAvx2(state_);
    } else {
        twistBlock(state_);
    }
    position_ = kWords;
}

double SeededGenerator::drawDouble() {
    --position_;
    uint32_t first;
    if (position_ > 0) {
        --position_;
        first = state_[position_];
    } else if (position_ == 0) {
        first = state_[0];
        regenerate();
    } else {
        regenerate();
        --position_;
        first = state_[position_];
    }
    --position_;
    // Every 417th draw (from draw 624 on) would read one word below the state; that word only
    // adds less than 2^-32, and a fixed 0 keeps each seeding a function of the seed alone.
    const uint32_t second = position_ >= 0 ? state_[position_] : 0u;
    return wordsToDouble(temper(first), temper(second));
}

void SeededGenerator::drawDoubles(double* out, int count) {
    // A draw from position p >= 3 reads words p - 2 and p - 3 and leaves p - 3: a run of such
    // draws reads one block only. The baseline run reads a tempered copy of the block, made once
    // per block; the AVX2 run tempers just the words it reads. The draws that cross into the
    // next block (two or three per block) go through drawDouble.
    alignas(16) uint32_t tempered[kWords];
    bool temperedValid = false;
    const bool avx2 = avx2Available();
    while (count > 0) {
        if (position_ >= 3) {
            const int run = position_ / 3 < count ? position_ / 3 : count;
            if (avx2) {
                drawRunAvx2(state_, position_, out, run);
            } else {
                if (!temperedValid) temperBlock(state_, tempered);
                temperedValid = true;
                drawRunTempered(tempered, position_, out, run);
            }
            position_ -= 3 * run;
            out += run;
            count -= run;
        } else {
            const int before = position_;
            *out++ = drawDouble();
            --count;
            if (position_ > before) temperedValid = false;  // it regenerated
        }
    }
}

}  // namespace qev
