#pragma once

// The world draws its random numbers from the C library's rand, never seeded, and which
// numbers come out is part of the world: the built-in scene's and the level's placements. The
// browser build's C library draws another sequence, so it takes this one, the sequence of the
// native build's C library: an additive feedback generator over 34 words seeded by a
// multiplicative congruential one; each word is the sum of the words 31 and 3 places before
// it, each draw a word shifted right by one (0 to 2147483647).

#include <cstdint>

class NativeRand {
public:
    explicit NativeRand(uint32_t seed = 1) { reseed(seed); }

    // As srand: a seed of 0 is taken as 1.
    void reseed(uint32_t seed);

    // As rand.
    int32_t draw();

private:
    static constexpr int kWords = 34;
    uint32_t words[kWords] = {};
    uint64_t drawn = 0; // words made so far, the seeded ones included
};
