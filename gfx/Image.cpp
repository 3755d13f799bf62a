#include "gfx/Image.h"

#include "gfx/BitmapHeader.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iostream>

const char* const kImageFailedToLoad = "zomg h4x Image failed to load or something cool like that";
const char* const kNoAlphaSurface = "Well, damnit... no alpha.  Quickly, FIX ME!!!!";
const char* const kNoAlphaLine = "No alpha mask, converting pixel format to add alpha";
const char* const kCopyFailedLine = "failed to duplicate sdl surface";

std::string describeFailure(const ImageLoadError& error)
{
    std::string text = std::string(error.what()) + " (" + error.fileName + ")";
    return error.reason.empty() ? text : text + ": " + error.reason;
}

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

Uint32* rowPixels(SDL_Surface* surface, int row)
{
    return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) +
                                     static_cast<ptrdiff_t>(row) * surface->pitch);
}

} // namespace

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

SDL_Surface* toRgbaSurface(SDL_Surface* surface)
{
    const SDL_PixelFormat* format = surface->format;
    if (format->Amask != 0 && format->BitsPerPixel == 32) {
        return surface;
    }
    if (format->Amask == 0) {
        std::cout << kNoAlphaLine << std::endl;
    }
    SDL_Surface* converted = createRgbaSurface(surface->w, surface->h);
    if (converted != nullptr) {
        // Without per-surface alpha blending the copy is plain: a source without an alpha
        // channel gives opaque pixels, one with an alpha channel passes its alpha on.
        SDL_SetAlpha(surface, 0, 0);
        SDL_UpperBlit(surface, nullptr, converted, nullptr);
    }
    SDL_FreeSurface(surface);
    return converted;
}

void setRowAlpha(SDL_Surface* surface, int row, int a, int b)
{
    if (row < 0 || row >= surface->h) {
        return;
    }
    const int width = surface->w;
    const int x0 = std::clamp(std::min(a, b), 0, width);
    const int x1 = std::clamp(std::max(a, b), 0, width);
    const Uint32 alphaMask = surface->format->Amask;
    Uint32* pixels = rowPixels(surface, row);
    for (int column = 0; column < width; ++column) {
        const bool opaque = column >= x0 && column < x1;
        pixels[column] = opaque ? (pixels[column] | alphaMask) : (pixels[column] & ~alphaMask);
    }
}

namespace {

int truncated(float value) { return static_cast<int>(value); }

// The four whole-row spans of the eight-way symmetric point (x, y) of the circle.
void applySpans(SDL_Surface* surface, float cx, float cy, float x, float y)
{
    setRowAlpha(surface, truncated(cy + x), truncated(cx - y), truncated(cx + y));
    setRowAlpha(surface, truncated(cy - x), truncated(cx - y), truncated(cx + y));
    setRowAlpha(surface, truncated(cy + y), truncated(cx - x), truncated(cx + x));
    setRowAlpha(surface, truncated(cy - y), truncated(cx - x), truncated(cx + x));
}

} // namespace

void applyDiscMask(SDL_Surface* surface)
{
    const float w = static_cast<float>(surface->w);
    const float h = static_cast<float>(surface->h);
    const float widened = (w - h) * 0.8f;
    const float sum = widened + h;
    const float radius = sum * 0.5f;
    const float cx = w * 0.5f;
    const float cy = h * 0.5f;
    const double radiusSquared = static_cast<double>(radius) * radius;

    float x = 0.0f;
    float y = radius;
    if (radius > 0.0f) {
        do {
            applySpans(surface, cx, cy, x, y);
            x = x + 1.0f;
            const float t = y - 0.5f;
            if (static_cast<double>(x * x + t * t) - radiusSquared >= 0.0) {
                y = y - 1.0f;
            }
        } while (y > x);
    }
    applySpans(surface, cx, cy, x, y);
}

int powerOfTwoAtLeast(int size)
{
    int power = 1;
    while (power < size && power < (1 << 30)) {
        power <<= 1;
    }
    return power;
}

SDL_Surface* powerOfTwoCopy(SDL_Surface* surface, float coordinates[4])
{
    const int textureWidth = powerOfTwoAtLeast(surface->w);
    const int textureHeight = powerOfTwoAtLeast(surface->h);
    coordinates[0] = 0.0f;
    coordinates[1] = 0.0f;
    coordinates[2] = static_cast<float>(surface->w) / static_cast<float>(textureWidth);
    coordinates[3] = static_cast<float>(surface->h) / static_cast<float>(textureHeight);

    SDL_Surface* copy = createRgbaSurface(textureWidth, textureHeight);
    if (copy == nullptr) {
        std::cout << kCopyFailedLine << std::endl;
        return nullptr;
    }
    // Copy the alpha channel itself rather than blending with it.
    const Uint32 savedFlags = surface->flags & (SDL_SRCALPHA | SDL_RLEACCELOK);
    const Uint8 savedAlpha = surface->format->alpha;
    const bool blending = (surface->flags & SDL_SRCALPHA) != 0;
    if (blending) {
        SDL_SetAlpha(surface, 0, 0);
    }
    SDL_UpperBlit(surface, nullptr, copy, nullptr);
    if (blending) {
        SDL_SetAlpha(surface, savedFlags, savedAlpha);
    }
    return copy;
}

uint32_t uploadTexture(SDL_Surface* surface, float coordinates[4])
{
    SDL_Surface* copy = powerOfTwoCopy(surface, coordinates);
    if (copy == nullptr) {
        return 0;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, copy->w, copy->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 copy->pixels);
    SDL_FreeSurface(copy);
    return texture;
}
