#include "support/Pictures.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>

std::ostream& operator<<(std::ostream& out, const Rgb& colour)
{
    return out << "rgb(" << int{colour.r} << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

Rgb positionColour(int column, int row)
{
    return Rgb{static_cast<Uint8>(column), static_cast<Uint8>(row),
               static_cast<Uint8>(255 - ((column + row) & 0x7F))};
}

namespace {

void requireSurface(SDL_Surface* surface)
{
    if (surface == nullptr) {
        throw std::runtime_error(std::string("cannot make a test surface: ") + SDL_GetError());
    }
}

Uint8* pixelAddress(SDL_Surface* surface, int column, int row)
{
    return static_cast<Uint8*>(surface->pixels) + row * surface->pitch +
           column * surface->format->BytesPerPixel;
}

Uint32 pixelValue(SDL_Surface* surface, int column, int row)
{
    if (surface->format->BytesPerPixel != 4) {
        throw std::runtime_error("test pixels are read from 32-bit surfaces only");
    }
    return *reinterpret_cast<const Uint32*>(pixelAddress(surface, column, row));
}

void putLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int index = 0; index < bytes; ++index) {
        out.push_back(static_cast<char>((value >> (8 * index)) & 0xFF));
    }
}

std::string fileAndInfoHeader(int32_t width, int32_t height, int bitsPerPixel, int paletteColours,
                              uint32_t dataBytes)
{
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(paletteColours);
    std::string out = "BM";
    putLittleEndian(out, offset + dataBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, offset, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<uint32_t>(width), 4);
    putLittleEndian(out, static_cast<uint32_t>(height), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, static_cast<uint32_t>(bitsPerPixel), 2);
    putLittleEndian(out, 0, 4); // uncompressed
    putLittleEndian(out, dataBytes, 4);
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, static_cast<uint32_t>(paletteColours), 4);
    putLittleEndian(out, 0, 4);
    return out;
}

// One row of pixel data, padded to four bytes.
std::string bitmapRow(const BitmapLayout& layout, int row)
{
    std::string out;
    for (int column = 0; column < layout.width; ++column) {
        const Rgb colour = layout.paint(column, row);
        out.push_back(static_cast<char>(colour.b));
        out.push_back(static_cast<char>(colour.g));
        out.push_back(static_cast<char>(colour.r));
        if (layout.bitsPerPixel == 32) {
            out.push_back(static_cast<char>(layout.alpha));
        }
    }
    while (out.size() % 4 != 0) {
        out.push_back('\0');
    }
    return out;
}

} // namespace

namespace {

// A surface with bytes red, green, blue (and alpha when it has four bytes a pixel).
SurfacePtr makeSurface(int width, int height, int bits, const Painter& paint, Uint8 alpha)
{
    SurfacePtr surface(SDL_CreateRGBSurface(0, width, height, bits, 0x000000FF, 0x0000FF00,
                                            0x00FF0000, bits == 32 ? 0xFF000000 : 0));
    requireSurface(surface.get());
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const Rgb colour = paint(column, row);
            const Uint8 bytes[4] = {colour.r, colour.g, colour.b, alpha};
            std::copy(bytes, bytes + bits / 8, pixelAddress(surface.get(), column, row));
        }
    }
    return surface;
}

} // namespace

SurfacePtr makeRgbSurface(int width, int height, const Painter& paint)
{
    return makeSurface(width, height, 24, paint, 255);
}

SurfacePtr makeRgbaSurface(int width, int height, const Painter& paint, Uint8 alpha)
{
    return makeSurface(width, height, 32, paint, alpha);
}

Rgb colourAt(SDL_Surface* surface, int column, int row)
{
    Rgb colour;
    SDL_GetRGB(pixelValue(surface, column, row), surface->format, &colour.r, &colour.g, &colour.b);
    return colour;
}

Uint8 alphaAt(SDL_Surface* surface, int column, int row)
{
    const SDL_PixelFormat* format = surface->format;
    if (format->Amask == 0) {
        throw std::runtime_error("the surface has no alpha channel to read");
    }
    return static_cast<Uint8>((pixelValue(surface, column, row) & format->Amask) >> format->Ashift);
}

std::string bitmapBytes(const BitmapLayout& layout)
{
    std::string rows;
    for (int row = layout.height - 1; row >= 0; --row) {
        rows += bitmapRow(layout, row);
    }
    return fileAndInfoHeader(layout.width, layout.height, layout.bitsPerPixel, 0,
                             static_cast<uint32_t>(rows.size())) +
           rows;
}

BitmapLayout bitmapOf(int width, int height, int bitsPerPixel)
{
    BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitsPerPixel = bitsPerPixel;
    return layout;
}

std::string bitmapHeaderOnly(int32_t width, int32_t height, int bitsPerPixel, int dataBytes)
{
    return fileAndInfoHeader(width, height, bitsPerPixel, 0, static_cast<uint32_t>(dataBytes)) +
           std::string(static_cast<size_t>(dataBytes), '\0');
}

ErrorCapture::ErrorCapture() : previous(std::cerr.rdbuf(captured.rdbuf())) {}

ErrorCapture::~ErrorCapture() { std::cerr.rdbuf(previous); }
