#pragma once

#include "gfx/PixelImage.h"

#include <cstdio>
#include <string>

// A bitmap file read into RGBA pixels.
struct PictureFile {
    PixelImage picture;            // its width and height are set whenever the file was read
    bool hadAlphaChannel = false;  // a picture without one is converted (kNoAlphaLine)
    std::string refusal;           // why the file cannot be read as a picture, or ""
    std::string conversionFailure; // read, but no RGBA copy could be made: why, or ""
};

// Reads the open bitmap file, which it closes. The one place where the builds differ: the
// native game reads through SDL's loader, the browser build through decodeBitmap.
PictureFile readPictureFile(std::FILE* file);

// The browser build only: keeps the decodings of the files read last, up to `mostBytes` of
// files and pixels together, and gives a file with the same bytes the same picture again
// without decoding it. For a process that reads the same folder over and over (the level
// editor's module); the game keeps none (0).
void keepDecodedPictures(std::size_t mostBytes);
