#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// A surface released when it goes out of scope.
struct SurfaceRelease {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceRelease>;

struct Rgb {
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

// The colour of each pixel of a picture, by column and row.
using Painter = std::function<Rgb(int column, int row)>;

// A distinct colour for every pixel of pictures up to 256 by 256.
Rgb positionColour(int column, int row);

// A 24-bit surface without alpha, as the bitmap loader gives for a 24-bit file.
SurfacePtr makeRgbSurface(int width, int height, const Painter& paint);

// A 32-bit surface with its own alpha channel (bytes red, green, blue, alpha).
SurfacePtr makeRgbaSurface(int width, int height, const Painter& paint, Uint8 alpha);

// Colour and alpha of one pixel of a 32-bit surface, read through its pixel format.
Rgb colourAt(SDL_Surface* surface, int column, int row);
Uint8 alphaAt(SDL_Surface* surface, int column, int row);

// The bytes of a 24- or 32-bit Windows bitmap file, bottom row first, in the painter's
// colours (32 bits with `alpha` in the fourth byte).
struct BitmapLayout {
    int width = 1;
    int height = 1;
    int bitsPerPixel = 24;
    Painter paint = positionColour;
    Uint8 alpha = 255;
};
std::string bitmapBytes(const BitmapLayout& layout);

// A bitmap of the given size and depth painted with positionColour, alpha 255.
BitmapLayout bitmapOf(int width, int height, int bitsPerPixel);

// A bitmap header claiming a width, height and depth, followed by only `dataBytes` zero bytes.
std::string bitmapHeaderOnly(int32_t width, int32_t height, int bitsPerPixel, int dataBytes);

// Collects what is written on standard error while it lives.
class ErrorCapture {
public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    std::string text() const { return captured.str(); }

private:
    std::ostringstream captured;
    std::streambuf* previous = nullptr;
};
