#pragma once

#include "gfx/PixelImage.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A bitmap file read both ways: by SDL's loader, as the native game reads its pictures, and by
// the browser build's decoder. Shared by the decoder's test and the picture fuzzer.
struct DecoderCheck {
    std::string difference; // "" when both read it alike, else what differs, as a phrase
    bool loaded = false;    // both loaded it (and then alike)
    PixelImage decoded;     // the decoder's picture
};

DecoderCheck checkDecoder(const uint8_t* bytes, size_t size);
