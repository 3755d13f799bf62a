#include "app/NativeRand.h"

namespace {

// 16807 * value modulo 2^31 - 1, by Schrage's method on 32-bit signed words, as the seeding does.
int32_t nextSeedWord(int32_t value)
{
    const int32_t high = value / 127773;
    const int32_t low = value % 127773;
    int32_t word = 16807 * low - 2836 * high;
    if (word < 0) {
        word += 2147483647;
    }
    return word;
}

constexpr int kSeededWords = 31;
constexpr int kDiscardedDraws = 310;

} // namespace

void NativeRand::reseed(uint32_t seed)
{
    words[0] = seed == 0 ? 1 : seed;
    for (int index = 1; index < kSeededWords; ++index) {
        words[index] = static_cast<uint32_t>(nextSeedWord(static_cast<int32_t>(words[index - 1])));
    }
    for (int index = kSeededWords; index < kWords; ++index) {
        words[index] = words[index - kSeededWords];
    }
    drawn = kWords;
    for (int draw = 0; draw < kDiscardedDraws; ++draw) {
        this->draw();
    }
}

int32_t NativeRand::draw()
{
    const uint32_t word = words[(drawn - 31) % kWords] + words[(drawn - 3) % kWords];
    words[drawn % kWords] = word;
    drawn += 1;
    return static_cast<int32_t>(word >> 1);
}
