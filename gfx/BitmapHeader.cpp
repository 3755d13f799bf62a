#include "gfx/BitmapHeader.h"

#include <algorithm>
#include <string>

namespace {

uint32_t littleEndian(const uint8_t* bytes, int count)
{
    uint32_t value = 0;
    for (int index = count - 1; index >= 0; --index) {
        value = (value << 8) | bytes[index];
    }
    return value;
}

// What the header says about the picture's shape and storage.
struct BitmapClaim {
    int64_t width = 0;
    int64_t rows = 0;
    uint32_t bitsPerPixel = 0;
    bool uncompressed = false;
};

constexpr int kFileHeaderBytes = 14;

// Reads what the header says. False when there is nothing to judge (not a bitmap, a shape of
// no pixels or of a depth the loader refuses anyway).
bool readClaim(const uint8_t* header, BitmapClaim& claim)
{
    const uint32_t headerSize = littleEndian(header + 14, 4);
    int64_t height = 0;
    if (headerSize == 12) {
        // The oldest header's sizes are unsigned: 0xFFFF is 65535 pixels, not -1.
        claim.width = littleEndian(header + 18, 2);
        height = littleEndian(header + 20, 2);
        claim.bitsPerPixel = littleEndian(header + 24, 2);
        claim.uncompressed = true;
    } else {
        claim.width = static_cast<int32_t>(littleEndian(header + 18, 4));
        height = static_cast<int32_t>(littleEndian(header + 22, 4));
        claim.bitsPerPixel = littleEndian(header + 28, 2);
        const uint32_t compression = headerSize >= 20 ? littleEndian(header + 30, 4) : 0;
        claim.uncompressed = compression == 0 || compression == 3 || compression == 6;
    }
    claim.rows = height < 0 ? -height : height;
    return claim.width > 0 && claim.rows > 0 && claim.bitsPerPixel > 0 && claim.bitsPerPixel <= 32;
}

// A picture header of a size no bitmap has, or one the file does not even hold in full: the
// loader would read past it into garbage.
std::string headerRefusal(const uint8_t* header, int64_t fileBytes)
{
    const uint32_t headerSize = littleEndian(header + 14, 4);
    if (headerSize < 12 || (headerSize > 12 && headerSize < 16)) {
        return "not a bitmap: no bitmap has a picture header of " + std::to_string(headerSize) +
               " bytes";
    }
    const int64_t needed = kFileHeaderBytes + std::min<int64_t>(headerSize, 40);
    if (fileBytes < needed) {
        return "cut short at byte " + std::to_string(fileBytes) + ", inside its header";
    }
    return "";
}

std::string sizeRefusal(const BitmapClaim& claim)
{
    const std::string most = std::to_string(kMaxPictureSide);
    if (claim.width > kMaxPictureSide) {
        return "the picture is " + std::to_string(claim.width) + " pixels wide; at most " + most;
    }
    if (claim.rows > kMaxPictureSide) {
        return "the picture is " + std::to_string(claim.rows) + " pixels high; at most " + most;
    }
    if (claim.width * claim.rows > kMaxPicturePixels) {
        return "the picture has " + std::to_string(claim.width * claim.rows) + " pixels; at most " +
               std::to_string(kMaxPicturePixels);
    }
    return "";
}

std::string storageRefusal(const BitmapClaim& claim, int64_t fileBytes)
{
    const int64_t rowBits = claim.width * claim.bitsPerPixel;
    const int64_t paddedRowBytes = (rowBits + 31) / 32 * 4;
    const int64_t pixelBytes = paddedRowBytes * (claim.rows - 1) + (rowBits + 7) / 8;
    if (!claim.uncompressed || pixelBytes <= fileBytes) {
        return "";
    }
    return "cut short at byte " + std::to_string(fileBytes) + "; its " +
           std::to_string(claim.width) + " by " + std::to_string(claim.rows) + " pixels need " +
           std::to_string(pixelBytes) + " bytes";
}

} // namespace

std::string bitmapRefusal(const uint8_t* header, size_t headerBytes, int64_t fileBytes)
{
    if (fileBytes == 0) {
        return "the file is empty";
    }
    if (headerBytes < 2 || header[0] != 'B' || header[1] != 'M') {
        return "not a bitmap: it does not start with \"BM\"";
    }
    if (headerBytes < kFileHeaderBytes + 4) {
        return "cut short at byte " + std::to_string(fileBytes) + ", inside its header";
    }
    uint8_t whole[kBitmapHeaderBytes] = {};
    std::copy(header, header + std::min<size_t>(headerBytes, kBitmapHeaderBytes), whole);
    std::string refusal = headerRefusal(whole, fileBytes);
    BitmapClaim claim;
    if (!refusal.empty() || !readClaim(whole, claim)) {
        return refusal;
    }
    refusal = sizeRefusal(claim);
    return refusal.empty() ? storageRefusal(claim, fileBytes) : refusal;
}

std::string bitmapRefusal(const uint8_t* bytes, size_t size)
{
    return bitmapRefusal(bytes, std::min<size_t>(size, kBitmapHeaderBytes),
                         static_cast<int64_t>(size));
}

int64_t claimedPixels(const uint8_t* bytes, size_t size)
{
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M' || size < kFileHeaderBytes + 4) {
        return 0;
    }
    uint8_t whole[kBitmapHeaderBytes] = {};
    std::copy(bytes, bytes + std::min<size_t>(size, kBitmapHeaderBytes), whole);
    BitmapClaim claim;
    return readClaim(whole, claim) ? claim.width * claim.rows : 0;
}
