// The browser build's rand and srand draw the native sequence (app/NativeRand.h), so the world
// is placed as natively. They take the place of the C library's own.

#include "app/NativeRand.h"

namespace {

NativeRand& generator()
{
    static NativeRand sequence;
    return sequence;
}

} // namespace

extern "C" int rand() { return generator().draw(); }

extern "C" void srand(unsigned seed) { generator().reseed(seed); }
