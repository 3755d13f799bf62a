#include "support/Pictures.h"

Rgb positionColour(int column, int row)
{
    return Rgb{static_cast<Uint8>(column), static_cast<Uint8>(row),
               static_cast<Uint8>(255 - ((column + row) & 0x7F))};
}

namespace {

// The file header and the 40-byte picture header of an uncompressed bitmap without palette:
std::string headers(int32_t width, int32_t height, int bitsPerPixel, uint32_t dataBytes)
{
    // file size, reserved, pixel offset, header size, width, height, planes and depth,
    // compression, data size, resolution in x and y, colours used and important.
    const auto across = static_cast<uint32_t>(width);
    const auto down = static_cast<uint32_t>(height);
    const uint32_t depth = 1 | static_cast<uint32_t>(bitsPerPixel) << 16;
    const uint32_t fields[] = {54 + dataBytes, 0,    54,   40, across, down, depth, 0,
                               dataBytes,      2835, 2835, 0,  0};
    std::string out = "BM";
    for (const uint32_t field : fields) {
        for (int shift = 0; shift < 32; shift += 8) {
            out.push_back(static_cast<char>((field >> shift) & 0xFF));
        }
    }
    return out;
}

} // namespace

std::string bitmapBytes(const BitmapLayout& layout)
{
    std::string rows;
    for (int row = layout.height - 1; row >= 0; --row) {
        for (int column = 0; column < layout.width; ++column) {
            const Rgb colour = layout.paint(column, row);
            rows += {static_cast<char>(colour.b), static_cast<char>(colour.g),
                     static_cast<char>(colour.r)};
            rows.append(static_cast<size_t>(layout.bitsPerPixel / 8 - 3),
                        static_cast<char>(layout.alpha));
        }
        rows.resize((rows.size() + 3) / 4 * 4, '\0');
    }
    return headers(layout.width, layout.height, layout.bitsPerPixel,
                   static_cast<uint32_t>(rows.size())) +
           rows;
}

BitmapLayout bitmapOf(int width, int height, int bitsPerPixel)
{
    return BitmapLayout{width, height, bitsPerPixel, positionColour, 255};
}

std::string bitmapHeaderOnly(int32_t width, int32_t height, int bitsPerPixel, int dataBytes)
{
    return headers(width, height, bitsPerPixel, static_cast<uint32_t>(dataBytes)) +
           std::string(static_cast<size_t>(dataBytes), '\0');
}
