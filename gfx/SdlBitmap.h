#pragma once

#include "gfx/PixelImage.h"

#include <SDL.h>

#include <string>

// Reads a bitmap; null if it cannot be read, with the cause in `reason` when it is given. The
// stream is closed either way. An uncompressed bitmap whose header claims more pixels than the
// file holds is refused before the loader reserves memory for them.
SDL_Surface* readBitmap(SDL_RWops* stream, std::string* reason = nullptr);

// Why the game refuses the bitmap at the stream's position (see bitmapRefusal of the bytes),
// or "". The stream is left where it was.
std::string bitmapRefusal(SDL_RWops* stream);

// The surface's pixels copied as RGBA, as a copy into a 32-bit RGBA surface makes them. False
// (SDL's error set) if that surface cannot be made. The given surface is kept.
bool rgbaPixelsOf(SDL_Surface* surface, PixelImage& picture);
