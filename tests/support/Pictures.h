#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>

struct Rgb {
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

using Painter = std::function<Rgb(int column, int row)>;

// A distinct colour for every pixel of pictures up to 256 by 256, never with a blue below 128.
Rgb positionColour(int column, int row);

// The bytes of a 24- or 32-bit Windows bitmap file painted by `paint` (alpha as 4th byte).
struct BitmapLayout {
    int width = 1;
    int height = 1;
    int bitsPerPixel = 24;
    Painter paint = positionColour;
    Uint8 alpha = 255;
};
std::string bitmapBytes(const BitmapLayout& layout);

BitmapLayout bitmapOf(int width, int height, int bitsPerPixel);

// A bitmap header claiming a width, height and depth, followed by only `dataBytes` zero bytes.
std::string bitmapHeaderOnly(int32_t width, int32_t height, int bitsPerPixel, int dataBytes);
