#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

// The largest picture the game agrees to load: 16384 pixels a side and 64 Mi pixels in all
// (256 MiB as 32-bit pixels), far beyond any real picture and within any OpenGL's limits.
constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

// Why the game refuses the bitmap at the stream's position before the loader reserves memory
// for it, or "" when it is left to the loader: an empty file, one that is no bitmap, a header
// cut short by the end of the file, a picture larger than the limits above, or, uncompressed,
// more pixel rows than the whole file could hold. A few bytes claiming 65535 by 65535 pixels
// would otherwise cost gigabytes. The reasons read as "the picture is 16385 pixels wide; at
// most 16384" or "cut short at byte 54". The stream is left where it was.
std::string bitmapRefusal(SDL_RWops* stream);
