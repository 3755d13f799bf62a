#pragma once

#include <cstdint>
#include <vector>

// A picture as 32-bit RGBA pixels (bytes red, green, blue, alpha in memory), rows top-down.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The alpha byte of a pixel as a 32-bit word on a little-endian machine.
constexpr uint32_t kPixelAlphaMask = 0xFF000000u;

// Cuts the picture to a disc: rows are rewritten whole by the midpoint walk of one octant.
void applyDiscMask(PixelImage& picture);

// Columns [min(a,b), max(a,b)) of `row` opaque, the rest of the row transparent.
void setRowAlpha(PixelImage& picture, int row, int a, int b);

// The smallest power of two not below `size` (1 for sizes of 1 or less).
int powerOfTwoAtLeast(int size);

// A power-of-two copy of the picture in the top-left corner of transparent black; fills the
// four texture coordinates (left, top, right, bottom) first. False, with kCopyFailedLine on the
// log, when there is no memory for the copy.
bool powerOfTwoCopy(const PixelImage& picture, float coordinates[4], PixelImage& copy);
