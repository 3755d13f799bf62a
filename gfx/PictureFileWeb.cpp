// The browser build's picture files: read whole and decoded without SDL surfaces.
#include "gfx/BitmapDecoder.h"
#include "gfx/PictureFile.h"

#include <cstdint>
#include <vector>

PictureFile readPictureFile(std::FILE* file)
{
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    PictureFile read;
    read.refusal = decodeBitmap(bytes.data(), bytes.size(), read.picture, read.hadAlphaChannel);
    return read;
}
