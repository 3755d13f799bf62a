// Arbitrary bytes read as a bitmap file, as the game reads its pictures, then every step a
// picture goes through before it becomes a texture: the conversion to 32-bit RGBA, the disc
// mask and the power-of-two copy. No OpenGL is involved.

#include "gfx/PictureFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::tmpfile();
    if (file == nullptr || std::fwrite(data, 1, size, file) != size) {
        std::cerr << "The fuzz input cannot be written to a temporary file." << std::endl;
        std::abort();
    }
    std::rewind(file);
    PictureFile read = readPictureFile(file);
    if (!read.refusal.empty() || !read.conversionFailure.empty()) {
        return 0;
    }
    applyDiscMask(read.picture);
    float coordinates[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    PixelImage copy;
    powerOfTwoCopy(read.picture, coordinates, copy);
    return 0;
}
