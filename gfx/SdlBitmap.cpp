#include "gfx/SdlBitmap.h"

#include "gfx/BitmapHeader.h"

#include <cstddef>
#include <cstring>

namespace {

// Byte order red, green, blue, alpha in memory on a little-endian machine.
constexpr Uint32 kRedMask = 0x000000FF;
constexpr Uint32 kGreenMask = 0x0000FF00;
constexpr Uint32 kBlueMask = 0x00FF0000;
constexpr Uint32 kAlphaMask = 0xFF000000;

SDL_Surface* createRgbaSurface(int width, int height)
{
    return SDL_CreateRGBSurface(0, width, height, 32, kRedMask, kGreenMask, kBlueMask, kAlphaMask);
}

// A plain copy of the surface into a new RGBA surface: without per-surface alpha blending a
// source without an alpha channel gives opaque pixels, one with an alpha channel passes its
// alpha on. Null if the new surface cannot be made.
SDL_Surface* rgbaCopy(SDL_Surface* surface)
{
    SDL_Surface* converted = createRgbaSurface(surface->w, surface->h);
    if (converted != nullptr) {
        SDL_SetAlpha(surface, 0, 0);
        SDL_UpperBlit(surface, nullptr, converted, nullptr);
    }
    return converted;
}

} // namespace

std::string bitmapRefusal(SDL_RWops* stream)
{
    const int start = SDL_RWtell(stream);
    const int end = SDL_RWseek(stream, 0, RW_SEEK_END);
    if (start < 0 || end < start || SDL_RWseek(stream, start, RW_SEEK_SET) != start) {
        return "";
    }
    Uint8 header[kBitmapHeaderBytes] = {};
    const int read = SDL_RWread(stream, header, 1, sizeof header);
    SDL_RWseek(stream, start, RW_SEEK_SET);
    return bitmapRefusal(header, read < 0 ? 0 : static_cast<size_t>(read), end - start);
}

SDL_Surface* readBitmap(SDL_RWops* stream, std::string* reason)
{
    std::string refusal;
    SDL_Surface* surface = nullptr;
    if (stream == nullptr) {
        refusal = SDL_GetError();
    } else {
        refusal = bitmapRefusal(stream);
        if (!refusal.empty()) {
            SDL_RWclose(stream);
        } else {
            SDL_ClearError();
            surface = SDL_LoadBMP_RW(stream, 1);
            refusal = surface == nullptr ? SDL_GetError() : "";
        }
    }
    if (reason != nullptr) {
        *reason = refusal.empty() && surface == nullptr ? "SDL cannot read it" : refusal;
    }
    return surface;
}

bool rgbaPixelsOf(SDL_Surface* surface, PixelImage& picture)
{
    SDL_Surface* converted = rgbaCopy(surface);
    if (converted == nullptr) {
        return false;
    }
    picture.width = converted->w;
    picture.height = converted->h;
    picture.pixels.resize(static_cast<size_t>(converted->w) * static_cast<size_t>(converted->h));
    SDL_LockSurface(converted);
    const auto* rows = static_cast<const Uint8*>(converted->pixels);
    for (int row = 0; row < converted->h; ++row) {
        std::memcpy(picture.pixels.data() + static_cast<ptrdiff_t>(row) * converted->w,
                    rows + static_cast<ptrdiff_t>(row) * converted->pitch,
                    static_cast<size_t>(converted->w) * sizeof(uint32_t));
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    return true;
}
