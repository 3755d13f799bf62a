#pragma once

#include <SDL.h>

#include <cstdint>

// The largest picture the game agrees to load: 16384 pixels a side and 64 Mi pixels in all
// (256 MiB as 32-bit pixels), far beyond any real picture and within any OpenGL's limits.
constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

// True when the bitmap header at the stream's position claims a picture the game refuses
// before the loader reserves memory for it: a header cut short by the end of the file,
// a picture larger than the limits above, or, uncompressed, more pixel rows than the whole
// file could hold. A few bytes claiming 65535 by 65535 pixels
// would otherwise cost gigabytes. Headers it cannot read are left to the loader to judge.
// The stream is left where it was.
bool bitmapClaimsTooMuch(SDL_RWops* stream);
