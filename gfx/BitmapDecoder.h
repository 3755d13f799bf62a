#pragma once

#include "gfx/PixelImage.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Decodes a whole Windows bitmap file in memory, without SDL: the game's own checks of the
// header, then the loader's rules for every depth (1, 4, 8, 12, 15, 16, 24 and 32 bits),
// palettes, bit-field masks, run-length encoding, top-down and bottom-up rows, old and new
// headers. Returns "" with the picture as RGBA, and whether the picture had an alpha channel;
// otherwise why the file cannot be read, in the words the SDL loader uses.
std::string decodeBitmap(const uint8_t* bytes, size_t size, PixelImage& picture,
                         bool& hadAlphaChannel);
