#pragma once

#include <SDL.h>

#include <cstdint>
#include <stdexcept>
#include <string>

// One loaded picture: its texture, the part of the texture the picture covers, and its id.
struct ImageRecord {
    uint32_t texture = 0; // 0: no texture
    float texLeft = 0.0f;
    float texTop = 0.0f;
    float texRight = 0.0f;
    float texBottom = 0.0f;
    int32_t id = 0;
};

// A picture that cannot be loaded. It ends the program; the message names what went wrong,
// fileName the picture and reason the cause ("not a bitmap", "cut short at byte 54", SDL's).
class ImageLoadError : public std::runtime_error {
public:
    ImageLoadError(const char* message, std::string file, std::string cause = "")
        : std::runtime_error(message), fileName(std::move(file)), reason(std::move(cause))
    {
    }

    std::string fileName;
    std::string reason;
};

// "message (file): reason", as the programs report a picture failure.
std::string describeFailure(const ImageLoadError& error);

extern const char* const kImageFailedToLoad;
extern const char* const kNoAlphaSurface;
// The log lines of a load: the conversion of a picture without alpha, the failed texture copy.
extern const char* const kNoAlphaLine;
extern const char* const kCopyFailedLine;

// Reads a bitmap; null if it cannot be read, with the cause in `reason` when it is given. The
// stream is closed either way. An uncompressed bitmap whose header claims more pixels than the
// file holds is refused before the loader reserves memory for them.
SDL_Surface* readBitmap(SDL_RWops* stream, std::string* reason = nullptr);

// The surface as 32-bit RGBA (bytes red, green, blue, alpha): pixels of a surface without an
// alpha channel come out opaque, a surface with one (16-bit, say) keeps each pixel's alpha.
// Returns the given surface when it is already 32 bits with an alpha channel; otherwise a new
// surface, releasing the given one. Null (the given surface released) if none can be made.
SDL_Surface* toRgbaSurface(SDL_Surface* surface);

// Cuts the picture to a disc: rows are rewritten whole by the midpoint walk of one octant.
void applyDiscMask(SDL_Surface* surface);

// Columns [min(a,b), max(a,b)) of `row` opaque, the rest of the row transparent.
void setRowAlpha(SDL_Surface* surface, int row, int a, int b);

// The smallest power of two not below `size` (1 for sizes of 1 or less).
int powerOfTwoAtLeast(int size);

// A power-of-two copy of the surface with the picture in its top-left corner; fills the four
// texture coordinates (left, top, right, bottom) first. Null if the copy cannot be made.
SDL_Surface* powerOfTwoCopy(SDL_Surface* surface, float coordinates[4]);

// Uploads the surface as a texture with nearest filtering. Returns the texture name, or 0.
uint32_t uploadTexture(SDL_Surface* surface, float coordinates[4]);
