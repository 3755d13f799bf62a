#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The largest picture the game agrees to load: 16384 pixels a side and 64 Mi pixels in all
// (256 MiB as 32-bit pixels), far beyond any real picture and within any OpenGL's limits.
constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

// The file header (14 bytes) and as much of the picture header as the checks read.
constexpr size_t kBitmapHeaderBytes = 14 + 40;

// Why the game refuses a bitmap before the loader reserves memory for it, or "" when it is
// left to the loader: an empty file, one that is no bitmap, a header cut short by the end of
// the file, a picture larger than the limits above, or, uncompressed, more pixel rows than the
// whole file could hold. A few bytes claiming 65535 by 65535 pixels would otherwise cost
// gigabytes. The reasons read as "the picture is 16385 pixels wide; at most 16384" or "cut
// short at byte 54". `header` holds the first headerBytes bytes of a file of fileBytes bytes
// (all of them, or kBitmapHeaderBytes).
std::string bitmapRefusal(const uint8_t* header, size_t headerBytes, int64_t fileBytes);

// The same for a whole file in memory.
std::string bitmapRefusal(const uint8_t* bytes, size_t size);

// The pixels the header of a whole file in memory claims (width times rows), or 0 when it
// claims no picture: for a caller that wants a tighter bound than the game's.
int64_t claimedPixels(const uint8_t* bytes, size_t size);
