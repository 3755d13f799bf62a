// Arbitrary bytes read as a bitmap file twice: by SDL's loader, as the native game reads its
// pictures, and by the decoder of the browser build. Any difference in verdict, reason, size,
// alpha channel or pixels is a crash. The picture then goes through every later step of a
// load: the disc mask and the power-of-two copy. No OpenGL is involved.

#include "gfx/BitmapHeader.h"
#include "gfx/PixelImage.h"
#include "tools/workspace/DecoderCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Both readers and the later steps do the same for every pixel at any size, and a few bytes
    // of run-length codes can claim tens of millions of pixels: read and copied twice under the
    // sanitizers, they only outlast the fuzzer's time limit. Pictures up to 4 Mi pixels are read.
    constexpr int64_t kMostPixelsRead = int64_t{1} << 22;
    if (claimedPixels(data, size) > kMostPixelsRead) {
        return 0;
    }
    DecoderCheck check = checkDecoder(data, size);
    if (!check.difference.empty()) {
        std::cerr << "The browser build's decoder reads this bitmap differently from SDL's "
                     "loader: "
                  << check.difference << "." << std::endl;
        std::abort();
    }
    if (!check.loaded) {
        return 0;
    }
    applyDiscMask(check.decoded);
    float coordinates[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    PixelImage copy;
    powerOfTwoCopy(check.decoded, coordinates, copy);
    return 0;
}
