#include "tools/workspace/DecoderCheck.h"

#include "gfx/BitmapDecoder.h"
#include "gfx/PictureFile.h"

#include <cstdio>
#include <sstream>

namespace {

// The bytes as a real file, as the game opens its pictures: seeks past the end succeed.
std::FILE* fileOf(const uint8_t* bytes, size_t size)
{
    std::FILE* file = std::tmpfile();
    if (file != nullptr && std::fwrite(bytes, 1, size, file) == size) {
        std::rewind(file);
        return file;
    }
    if (file != nullptr) {
        std::fclose(file);
    }
    return nullptr;
}

std::string pictureDifference(const PixelImage& decoded, const PixelImage& native)
{
    std::ostringstream difference;
    if (decoded.width != native.width || decoded.height != native.height) {
        difference << "its picture is " << decoded.width << " by " << decoded.height
                   << " pixels, SDL's " << native.width << " by " << native.height;
        return difference.str();
    }
    for (size_t index = 0; index < decoded.pixels.size(); ++index) {
        if (decoded.pixels[index] != native.pixels[index]) {
            difference << "pixel " << index << " is " << std::hex << decoded.pixels[index]
                       << ", SDL's " << native.pixels[index];
            return difference.str();
        }
    }
    return "";
}

} // namespace

DecoderCheck checkDecoder(const uint8_t* bytes, size_t size)
{
    DecoderCheck check;
    std::FILE* file = fileOf(bytes, size);
    if (file == nullptr) {
        check.difference = "the bytes cannot be written to a temporary file";
        return check;
    }
    const PictureFile native = readPictureFile(file);
    bool hadAlphaChannel = false;
    const std::string reason = decodeBitmap(bytes, size, check.decoded, hadAlphaChannel);
    if (reason != native.refusal) {
        check.difference = "it gives \"" + reason + "\" where SDL gives \"" + native.refusal + "\"";
    } else if (reason.empty() && native.conversionFailure.empty()) {
        check.loaded = true;
        if (hadAlphaChannel != native.hadAlphaChannel) {
            check.difference = hadAlphaChannel ? "it finds an alpha channel SDL does not"
                                               : "it misses the alpha channel SDL finds";
        } else {
            check.difference = pictureDifference(check.decoded, native.picture);
        }
    }
    return check;
}
