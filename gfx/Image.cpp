#include "gfx/Image.h"

#include <GL/gl.h>

const char* const kImageFailedToLoad = "zomg h4x Image failed to load or something cool like that";
const char* const kNoAlphaSurface = "Well, damnit... no alpha.  Quickly, FIX ME!!!!";
const char* const kNoAlphaLine = "No alpha mask, converting pixel format to add alpha";
const char* const kCopyFailedLine = "failed to duplicate sdl surface";

std::string describeFailure(const ImageLoadError& error)
{
    std::string text = std::string(error.what()) + " (" + error.fileName + ")";
    return error.reason.empty() ? text : text + ": " + error.reason;
}

uint32_t uploadTexture(const PixelImage& picture, float coordinates[4])
{
    PixelImage copy;
    if (!powerOfTwoCopy(picture, coordinates, copy)) {
        return 0;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, copy.width, copy.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 copy.pixels.data());
    return texture;
}
