// Arbitrary bytes read as a bitmap file twice: by SDL's loader, as the native game reads its
// pictures, and by the decoder of the browser build. Any difference in verdict, reason, size,
// alpha channel or pixels is a crash. The picture then goes through every later step of a
// load: the disc mask and the power-of-two copy. No OpenGL is involved.

#include "gfx/BitmapDecoder.h"
#include "gfx/PictureFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

[[noreturn]] void differ(const std::string& what)
{
    std::cerr << "The browser build's decoder reads this bitmap differently from SDL's loader: "
              << what << "." << std::endl;
    std::abort();
}

// The bytes as a real file, as the game opens its pictures: seeks past the end succeed.
std::FILE* fileOf(const uint8_t* data, size_t size)
{
    std::FILE* file = std::tmpfile();
    if (file == nullptr || std::fwrite(data, 1, size, file) != size) {
        std::cerr << "The fuzz input cannot be written to a temporary file." << std::endl;
        std::abort();
    }
    std::rewind(file);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PictureFile native = readPictureFile(fileOf(data, size));
    PixelImage decoded;
    bool hadAlphaChannel = false;
    const std::string reason = decodeBitmap(data, size, decoded, hadAlphaChannel);
    if (reason != native.refusal) {
        differ("it gives \"" + reason + "\" where SDL gives \"" + native.refusal + "\"");
    }
    if (!reason.empty() || !native.conversionFailure.empty()) {
        return 0;
    }
    if (hadAlphaChannel != native.hadAlphaChannel) {
        differ(hadAlphaChannel ? "it finds an alpha channel SDL does not"
                               : "it misses the alpha channel SDL finds");
    }
    if (decoded.width != native.picture.width || decoded.height != native.picture.height) {
        differ("its picture is " + std::to_string(decoded.width) + " by " +
               std::to_string(decoded.height) + " pixels, SDL's " +
               std::to_string(native.picture.width) + " by " +
               std::to_string(native.picture.height));
    }
    for (size_t index = 0; index < decoded.pixels.size(); ++index) {
        if (decoded.pixels[index] != native.picture.pixels[index]) {
            differ("pixel " + std::to_string(index) + " is " +
                   std::to_string(decoded.pixels[index]) + ", SDL's " +
                   std::to_string(native.picture.pixels[index]));
        }
    }
    applyDiscMask(decoded);
    float coordinates[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    PixelImage copy;
    powerOfTwoCopy(decoded, coordinates, copy);
    return 0;
}
