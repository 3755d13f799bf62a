// Arbitrary bytes loaded as a bitmap from memory, then every step a picture goes through
// before it becomes a texture: the conversion to 32-bit RGBA, the disc mask and the
// power-of-two copy. No OpenGL is involved.

#include "gfx/Image.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>

namespace {

// The conversion writes its log line; keep the fuzzer's output readable.
void silenceTheLog()
{
    static std::ostringstream discarded;
    std::cout.rdbuf(discarded.rdbuf());
    discarded.str("");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    silenceTheLog();
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    SDL_Surface* loaded = readBitmap(stream);
    if (loaded == nullptr) {
        return 0;
    }
    SDL_Surface* picture = toRgbaSurface(loaded);
    if (picture == nullptr) {
        return 0;
    }
    SDL_LockSurface(picture);
    applyDiscMask(picture);
    SDL_UnlockSurface(picture);
    float coordinates[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    SDL_FreeSurface(powerOfTwoCopy(picture, coordinates));
    SDL_FreeSurface(picture);
    return 0;
}
