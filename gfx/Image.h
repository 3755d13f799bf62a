#pragma once

#include "gfx/PixelImage.h"

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
    int32_t fileIndex = -1; // the file it was loaded from, in Renderer::pictureFiles
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

// Uploads a power-of-two copy of the picture as a texture with nearest filtering; fills the
// texture coordinates as powerOfTwoCopy does. Returns the texture name, or 0.
uint32_t uploadTexture(const PixelImage& picture, float coordinates[4]);
