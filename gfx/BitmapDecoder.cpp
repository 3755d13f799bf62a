#include "gfx/BitmapDecoder.h"

#include "gfx/BitmapHeader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

const char* const kReadError = "Error reading from datastream";
const char* const kSeekError = "Error seeking in datastream";
// Streams seek by signed 32-bit offsets.
constexpr uint64_t kFarthestSeek = 0x7FFFFFFF;

using Masks = std::array<uint32_t, 4>; // red, green, blue, alpha

// The file as a stream: reads past the end give what is there and leave the rest untouched.
class ByteStream {
public:
    ByteStream(const uint8_t* bytes, size_t size) : data(bytes), length(size) {}

    size_t read(uint8_t* out, size_t count)
    {
        const size_t left = position < length ? length - static_cast<size_t>(position) : 0;
        const size_t taken = std::min(count, left);
        if (taken > 0) {
            std::memcpy(out, data + static_cast<size_t>(position), taken);
        }
        position += taken;
        return taken;
    }

    uint32_t littleEndian(int count)
    {
        uint8_t bytes[4] = {0, 0, 0, 0};
        read(bytes, static_cast<size_t>(count));
        return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
               static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    }

    // A seek to a position from the start; false when the offset is beyond what a stream
    // seeks by.
    bool seek(uint64_t target)
    {
        if (target > kFarthestSeek) {
            return false;
        }
        position = target;
        return true;
    }

    // A move by a seek from the current position, which may go beyond that.
    void moveTo(uint64_t target) { position = target; }

    uint64_t tell() const { return position; }

private:
    const uint8_t* data = nullptr;
    size_t length = 0;
    uint64_t position = 0;
};

// The header fields the loader reads.
struct BitmapInfo {
    uint32_t pixelOffset = 0;
    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    Masks masks = {0, 0, 0, 0};
};

BitmapInfo readInfo(ByteStream& stream)
{
    BitmapInfo info;
    stream.littleEndian(4); // "BM", then the file size and two reserved words
    stream.littleEndian(4);
    stream.littleEndian(2);
    info.pixelOffset = stream.littleEndian(4);
    info.headerSize = stream.littleEndian(4);
    if (info.headerSize == 12) {
        info.width = static_cast<int32_t>(stream.littleEndian(2));
        info.height = static_cast<int32_t>(stream.littleEndian(2));
        stream.littleEndian(2);
        info.bitsPerPixel = stream.littleEndian(2);
        return info;
    }
    if (info.headerSize < 40) {
        return info;
    }
    info.width = static_cast<int32_t>(stream.littleEndian(4));
    info.height = static_cast<int32_t>(stream.littleEndian(4));
    stream.littleEndian(2);
    info.bitsPerPixel = stream.littleEndian(2);
    info.compression = stream.littleEndian(4);
    stream.littleEndian(4);
    stream.littleEndian(4);
    stream.littleEndian(4);
    info.colorsUsed = stream.littleEndian(4);
    stream.littleEndian(4);
    // The masks follow a header of 40 bytes (as the first colours) or lie inside a larger one,
    // where they are read (and ignored) without bit fields too; the 64-byte header has none.
    if (info.headerSize != 64) {
        const bool bitFields = info.compression == kBitFields;
        const int masks =
            (bitFields || info.headerSize >= 52 ? 3 : 0) + (info.headerSize >= 56 ? 1 : 0);
        for (int channel = 0; channel < masks; ++channel) {
            const uint32_t mask = stream.littleEndian(4);
            info.masks[static_cast<size_t>(channel)] = bitFields ? mask : 0;
        }
    }
    return info;
}

// A surface layout the loader can make: bits and bytes per pixel, palette or channel masks.
struct PixelFormat {
    int bitsPerPixel = 0;
    bool indexed = false;
    Masks masks = {0, 0, 0, 0};

    int bytesPerPixel() const { return (bitsPerPixel + 7) / 8; }
};

// The layouts a depth without masks gets.
constexpr Masks kMasks444 = {0x0F00, 0x00F0, 0x000F, 0};
constexpr Masks kMasks555 = {0x7C00, 0x03E0, 0x001F, 0};
constexpr Masks kMasks565 = {0xF800, 0x07E0, 0x001F, 0};
constexpr Masks kMasks888 = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
constexpr Masks kMasks888Reversed = {0x000000FF, 0x0000FF00, 0x00FF0000, 0};
constexpr Masks kMasks8888 = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

struct KnownFormat {
    int bitsPerPixel;
    Masks masks;
};

// The packed layouts a surface can have.
constexpr KnownFormat kKnownFormats[] = {
    {8, {0xE0, 0x1C, 0x03, 0}},
    {12, kMasks444},
    {12, {0x000F, 0x00F0, 0x0F00, 0}},
    {15, kMasks555},
    {15, {0x001F, 0x03E0, 0x7C00, 0}},
    {16, {0x0F00, 0x00F0, 0x000F, 0xF000}},
    {16, {0xF000, 0x0F00, 0x00F0, 0x000F}},
    {16, {0x000F, 0x00F0, 0x0F00, 0xF000}},
    {16, {0x00F0, 0x0F00, 0xF000, 0x000F}},
    {16, {0x7C00, 0x03E0, 0x001F, 0x8000}},
    {16, {0xF800, 0x07C0, 0x003E, 0x0001}},
    {16, {0x001F, 0x03E0, 0x7C00, 0x8000}},
    {16, {0x003E, 0x07C0, 0xF800, 0x0001}},
    {16, kMasks565},
    {16, {0x001F, 0x07E0, 0xF800, 0}},
    {32, kMasks888},
    {32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0}},
    {32, kMasks888Reversed},
    {32, {0x0000FF00, 0x00FF0000, 0xFF000000, 0}},
    {32, kMasks8888},
    {32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}},
    {32, {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}},
    {32, {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF}},
    {32, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}},
};

bool exactFormat(int bitsPerPixel, const Masks& masks, PixelFormat& format)
{
    for (const KnownFormat& known : kKnownFormats) {
        // A 16-bit surface may hold a 15-bit layout as well.
        const bool depthFits =
            known.bitsPerPixel == bitsPerPixel || (bitsPerPixel == 16 && known.bitsPerPixel == 15);
        if (depthFits && known.masks == masks) {
            format.bitsPerPixel = known.bitsPerPixel;
            format.masks = known.masks;
            return true;
        }
    }
    return false;
}

// The surface the loader makes for a depth and masks; false when it knows no such layout.
bool formatFor(int bitsPerPixel, const Masks& masks, PixelFormat& format)
{
    const bool noRed = masks[0] == 0;
    switch (bitsPerPixel) {
    case 8:
        format.bitsPerPixel = 8;
        format.indexed = noRed;
        return noRed || exactFormat(8, masks, format);
    case 12: return exactFormat(12, noRed ? kMasks444 : masks, format);
    case 15: return exactFormat(noRed ? 15 : 16, noRed ? kMasks555 : masks, format);
    case 16: return exactFormat(16, noRed ? kMasks565 : masks, format);
    case 24:
        // Only the red mask tells the two byte orders apart.
        format.bitsPerPixel = 24;
        format.masks = masks[0] == kMasks888Reversed[0] ? kMasks888Reversed : kMasks888;
        return noRed || masks[0] == kMasks888[0] || masks[0] == kMasks888Reversed[0];
    case 32: return exactFormat(32, noRed ? kMasks888 : masks, format);
    default: return false;
    }
}

// What the loader fills: the surface's bytes, rows `pitch` apart, and its palette.
struct Surface {
    PixelFormat format;
    int width = 0;
    int height = 0;
    size_t pitch = 0;
    std::vector<uint8_t> bytes;
    std::array<uint32_t, 256> palette{}; // RGBA; colours past `colors` are transparent black
    uint32_t colors = 0;
};

// Run-length encoded rows, bottom-up, with moves of the pen; pixels off the surface are
// dropped. False when the data ends before its end mark.
bool readRunLengths(ByteStream& stream, Surface& surface, bool eightBit)
{
    const auto pitch = static_cast<int64_t>(surface.pitch);
    const int64_t end = pitch * surface.height;
    int64_t row = end - pitch;
    int64_t column = 0;
    const auto put = [&](uint8_t value) {
        const int64_t spot = row + column++;
        if (spot >= 0 && spot < end) {
            surface.bytes[static_cast<size_t>(spot)] = value;
        }
    };
    uint8_t code = 0;
    while (true) {
        if (stream.read(&code, 1) == 0) {
            return false;
        }
        if (code != 0) {
            uint8_t pixel = 0;
            if (stream.read(&pixel, 1) == 0) {
                return false;
            }
            for (int index = 0; index < code; ++index) {
                put(eightBit ? pixel : (index % 2 == 0 ? pixel >> 4 : pixel & 0x0F));
            }
            continue;
        }
        if (stream.read(&code, 1) == 0) {
            return false;
        }
        if (code == 0) {
            column = 0;
            row -= pitch;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            uint8_t move[2] = {0, 0};
            if (stream.read(move, 1) == 0) {
                return false;
            }
            column += move[0];
            if (stream.read(move + 1, 1) == 0) {
                return false;
            }
            row -= move[1] * pitch;
        } else {
            const int dataBytes = eightBit ? code : (code + 1) / 2;
            uint8_t pixel = 0;
            for (int index = 0; index < code; ++index) {
                if ((eightBit || index % 2 == 0) && stream.read(&pixel, 1) == 0) {
                    return false;
                }
                put(eightBit ? pixel : (index % 2 == 0 ? pixel >> 4 : pixel & 0x0F));
            }
            uint8_t pad = 0;
            if (dataBytes % 2 == 1 && stream.read(&pad, 1) == 0) {
                return false;
            }
        }
    }
}

// The palette: 4 bytes (blue, green, red, unused) a colour, 3 in the oldest header. Colours
// the file does not hold stay white.
void readPalette(ByteStream& stream, const BitmapInfo& info, Surface& surface)
{
    surface.palette.fill(0xFFFFFFFFu);
    const size_t entryBytes = info.headerSize == 12 ? 3 : 4;
    for (uint32_t index = 0; index < surface.colors; ++index) {
        uint8_t entry[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        for (size_t part = 0; part < entryBytes; ++part) {
            stream.read(entry + part, 1);
        }
        surface.palette[index] = static_cast<uint32_t>(entry[2]) |
                                 static_cast<uint32_t>(entry[1]) << 8 |
                                 static_cast<uint32_t>(entry[0]) << 16 | 0xFF000000u;
    }
    for (size_t index = surface.colors; index < surface.palette.size(); ++index) {
        surface.palette[index] = 0;
    }
}

const char* const kOutOfPalette = "A BMP image contains a pixel with a color out of the palette";

// Rows of 1, 2 or 4 bits a pixel, each pixel checked against the palette's size.
std::string readPackedRow(ByteStream& stream, const BitmapInfo& info, Surface& surface,
                          uint8_t* row)
{
    const int bits = static_cast<int>(info.bitsPerPixel);
    uint8_t pixel = 0;
    for (int column = 0; column < surface.width; ++column) {
        if (column % (8 / bits) == 0 && stream.read(&pixel, 1) == 0) {
            return kReadError;
        }
        row[column] = static_cast<uint8_t>(pixel >> (8 - bits));
        if (row[column] >= surface.colors) {
            return kOutOfPalette;
        }
        pixel = static_cast<uint8_t>(pixel << bits);
    }
    const int rowBytes = (surface.width * bits + 7) / 8;
    for (int pad = 0; pad < (4 - rowBytes % 4) % 4; ++pad) {
        uint8_t skipped = 0;
        stream.read(&skipped, 1);
    }
    return "";
}

std::string readRows(ByteStream& stream, const BitmapInfo& info, Surface& surface, bool topDown)
{
    const bool packed = info.bitsPerPixel < 8;
    const bool checked = surface.format.indexed && surface.colors < 256;
    for (int index = 0; index < surface.height; ++index) {
        const int row = topDown ? index : surface.height - 1 - index;
        uint8_t* bytes = surface.bytes.data() + static_cast<size_t>(row) * surface.pitch;
        if (packed) {
            std::string failure = readPackedRow(stream, info, surface, bytes);
            if (!failure.empty()) {
                return failure;
            }
            continue;
        }
        if (stream.read(bytes, surface.pitch) != surface.pitch) {
            return kReadError;
        }
        if (checked && std::any_of(bytes, bytes + surface.width,
                                   [&](uint8_t value) { return value >= surface.colors; })) {
            return kOutOfPalette;
        }
    }
    return "";
}

// A 32-bit picture without masks whose alpha bytes are all 0 is opaque.
void correctAlpha(Surface& surface)
{
    bool anyAlpha = false;
    for (size_t index = 3; index < surface.bytes.size(); index += 4) {
        anyAlpha = anyAlpha || surface.bytes[index] != 0;
    }
    for (size_t index = 3; index < surface.bytes.size() && !anyAlpha; index += 4) {
        surface.bytes[index] = 0xFF;
    }
}

// One channel of a packed pixel: where it lies and how many bits it has.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t channelMask) : mask(channelMask)
    {
        while (mask != 0 && ((mask >> shift) & 1u) == 0) {
            ++shift;
        }
        while (mask != 0 && shift + bits < 32 && ((mask >> (shift + bits)) & 1u) != 0) {
            ++bits;
        }
    }

    // The channel scaled to 8 bits, rounded down; a wider one keeps its top 8 bits.
    uint32_t of(uint32_t pixel) const
    {
        const uint32_t value = (pixel & mask) >> shift;
        if (bits > 8) {
            return value >> (bits - 8);
        }
        return bits == 0 ? 0 : value * 255u / ((1u << bits) - 1u);
    }
};

// The 5-6-5 layout (red on top) is copied through a table of each byte, so the green split
// across the two bytes is the sum of its scaled high and low parts.
uint32_t rgba565(uint32_t pixel)
{
    const uint32_t green = ((pixel >> 8) & 7u) * 8u * 255u / 63u + ((pixel >> 5) & 7u) * 255u / 63u;
    const uint32_t red = ((pixel >> 11) & 31u) * 255u / 31u;
    const uint32_t blue = (pixel & 31u) * 255u / 31u;
    return red | green << 8 | blue << 16 | 0xFF000000u;
}

void toRgba(const Surface& surface, PixelImage& picture)
{
    const PixelFormat& format = surface.format;
    const int bytesPerPixel = format.bytesPerPixel();
    const Channel red(format.masks[0]);
    const Channel green(format.masks[1]);
    const Channel blue(format.masks[2]);
    const Channel alpha(format.masks[3]);
    const bool is565 = format.masks == kMasks565;
    picture.width = surface.width;
    picture.height = surface.height;
    picture.pixels.assign(static_cast<size_t>(surface.width) * surface.height, 0u);
    for (int row = 0; row < surface.height; ++row) {
        const uint8_t* bytes = surface.bytes.data() + static_cast<size_t>(row) * surface.pitch;
        for (int column = 0; column < surface.width; ++column) {
            uint32_t value = 0;
            for (int part = bytesPerPixel - 1; part >= 0; --part) {
                value = value << 8 | bytes[column * bytesPerPixel + part];
            }
            uint32_t rgba = 0;
            if (format.indexed) {
                rgba = surface.palette[value & 0xFFu];
            } else if (is565) {
                rgba = rgba565(value);
            } else {
                rgba = red.of(value) | green.of(value) << 8 | blue.of(value) << 16 |
                       (format.masks[3] != 0 ? alpha.of(value) : 0xFFu) << 24;
            }
            picture.pixels[static_cast<size_t>(row) * surface.width + column] = rgba;
        }
    }
}

// The header's failures in the loader's order: sizes, a skip to the header's end farther than
// a stream seeks, the depth. "" when the loader reads on.
std::string headerFailure(ByteStream& stream, const BitmapInfo& info)
{
    std::string skipFailure;
    const uint64_t headerEnd = uint64_t{14} + info.headerSize;
    if (info.headerSize >= 40 && headerEnd > stream.tell()) {
        if (headerEnd - stream.tell() > kFarthestSeek) {
            skipFailure = "Parameter 'offset' is invalid";
        } else {
            stream.moveTo(headerEnd);
        }
    }
    if (info.width <= 0 || info.height == 0) {
        return "BMP file with bad dimensions (" + std::to_string(info.width) + "x" +
               std::to_string(info.height) + ")";
    }
    const uint32_t depth = info.bitsPerPixel;
    if (skipFailure.empty() && (depth == 0 || depth == 3 || (depth >= 5 && depth <= 7))) {
        return std::to_string(depth) + "-bpp BMP images are not supported";
    }
    return skipFailure;
}

// The surface the header asks for, its palette read; "" or why there is none. Without
// compression the depth decides the masks, and a 32-bit picture's alpha is in doubt.
std::string makeSurface(ByteStream& stream, BitmapInfo& info, Surface& surface, bool& alphaInDoubt)
{
    const int depth = info.bitsPerPixel < 8 ? 8 : static_cast<int>(info.bitsPerPixel);
    if (info.compression == kRgb) {
        if (depth == 15 || depth == 16) {
            info.masks = kMasks555;
        } else if (depth == 24) {
            info.masks = kMasks888;
        } else if (depth == 32) {
            info.masks = kMasks8888;
            alphaInDoubt = true;
        }
    }
    if (!formatFor(depth, info.masks, surface.format)) {
        return "Unknown pixel format";
    }
    const int64_t rows = info.height < 0 ? -int64_t{info.height} : int64_t{info.height};
    if (rows > INT32_MAX) {
        return "Parameter 'height' is invalid"; // the negated height stays negative
    }
    surface.width = info.width;
    surface.height = static_cast<int>(rows);
    surface.pitch = (static_cast<size_t>(surface.width) * surface.format.bytesPerPixel() + 3) &
                    ~static_cast<size_t>(3);
    surface.bytes.assign(surface.pitch * static_cast<size_t>(surface.height), 0);
    surface.colors = info.colorsUsed;
    if (surface.format.indexed) {
        if (!stream.seek(uint64_t{14} + info.headerSize)) {
            return kSeekError;
        }
        if (surface.colors == 0 || surface.colors > 256) {
            surface.colors = 256;
        }
        readPalette(stream, info, surface);
    }
    return "";
}

// The loader's reading of a file the game's own checks let through.
std::string decode(ByteStream& stream, PixelImage& picture, bool& hadAlphaChannel)
{
    BitmapInfo info = readInfo(stream);
    std::string failure = headerFailure(stream, info);
    Surface surface;
    bool alphaInDoubt = false;
    if (failure.empty()) {
        failure = makeSurface(stream, info, surface, alphaInDoubt);
    }
    if (failure.empty() && !stream.seek(info.pixelOffset)) {
        failure = kSeekError;
    }
    if (!failure.empty()) {
        return failure;
    }
    if (info.compression == kRle8 || info.compression == kRle4) {
        if (!readRunLengths(stream, surface, info.compression == kRle8)) {
            return kReadError;
        }
    } else {
        failure = readRows(stream, info, surface, info.height < 0);
        if (!failure.empty()) {
            return failure;
        }
        if (alphaInDoubt) {
            correctAlpha(surface);
        }
    }
    hadAlphaChannel = surface.format.masks[3] != 0;
    toRgba(surface, picture);
    return "";
}

} // namespace

std::string decodeBitmap(const uint8_t* bytes, size_t size, PixelImage& picture,
                         bool& hadAlphaChannel)
{
    hadAlphaChannel = false;
    std::string refusal = bitmapRefusal(bytes, size);
    if (!refusal.empty()) {
        return refusal;
    }
    ByteStream stream(bytes, size);
    return decode(stream, picture, hadAlphaChannel);
}
