// The browser build's picture files: read whole and decoded without SDL surfaces.
#include "gfx/BitmapDecoder.h"
#include "gfx/PictureFile.h"

#include <cstdint>
#include <list>
#include <vector>

namespace {

// A file's bytes and what they decode to.
struct DecodedFile {
    std::vector<uint8_t> bytes;
    PictureFile read;
};

// The pictures decoded last, newest first, and the bytes they may hold at most.
std::list<DecodedFile> decodedFiles;
std::size_t decodedLimit = 0;

std::size_t heldBytes(const DecodedFile& file)
{
    return file.bytes.size() + file.read.picture.pixels.size() * sizeof(uint32_t);
}

// The kept decoding of these bytes, moved to the front, or null.
const PictureFile* keptDecoding(const std::vector<uint8_t>& bytes)
{
    for (auto at = decodedFiles.begin(); at != decodedFiles.end(); ++at) {
        if (at->bytes == bytes) {
            decodedFiles.splice(decodedFiles.begin(), decodedFiles, at);
            return &decodedFiles.front().read;
        }
    }
    return nullptr;
}

// Forgets the oldest decodings beyond the limit.
void trimDecoded()
{
    std::size_t held = 0;
    for (auto at = decodedFiles.begin(); at != decodedFiles.end();) {
        held += heldBytes(*at);
        at = held > decodedLimit ? decodedFiles.erase(at) : std::next(at);
    }
}

void keepDecoding(std::vector<uint8_t> bytes, const PictureFile& read)
{
    decodedFiles.push_front(DecodedFile{std::move(bytes), read});
    trimDecoded();
}

} // namespace

void keepDecodedPictures(std::size_t mostBytes)
{
    decodedLimit = mostBytes;
    trimDecoded();
}

PictureFile readPictureFile(std::FILE* file)
{
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    if (const PictureFile* kept = keptDecoding(bytes)) {
        return *kept;
    }
    PictureFile read;
    read.refusal = decodeBitmap(bytes.data(), bytes.size(), read.picture, read.hadAlphaChannel);
    if (decodedLimit > 0) {
        keepDecoding(std::move(bytes), read);
    }
    return read;
}
