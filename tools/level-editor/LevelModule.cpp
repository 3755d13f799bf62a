// The browser build's level module: the level editor's core behind a C interface, called from
// the page's worker (web/editor/level-worker.js) on the files it writes into a folder.

#include "tools/level-editor/FloatText.h"
#include "tools/level-editor/LevelDescription.h"
#include "tools/level-editor/PictureRgba.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What the last call handed out; it lives until the next call of the same kind.
std::string lastDescription;
std::string lastFloatText;
std::vector<uint8_t> lastPicture;

} // namespace

// The folder's description as JSON (LevelDescription.h).
extern "C" EMSCRIPTEN_KEEPALIVE const char* quillfen_describe_level(const char* folder)
{
    lastDescription = describeLevel(folder);
    return lastDescription.c_str();
}

// The picture of the folder as the game shows it: its width and height as two 32-bit
// little-endian integers, then its RGBA bytes row by row from the top. Null when it cannot be
// read.
extern "C" EMSCRIPTEN_KEEPALIVE const uint8_t* quillfen_picture_rgba(const char* folder,
                                                                     const char* name)
{
    PixelImage picture;
    std::string problem;
    if (!levelPicture(folder, name, picture, problem)) {
        return nullptr;
    }
    const int32_t size[2] = {picture.width, picture.height};
    lastPicture.resize(sizeof size + picture.pixels.size() * sizeof(uint32_t));
    std::memcpy(lastPicture.data(), size, sizeof size);
    std::memcpy(lastPicture.data() + sizeof size, picture.pixels.data(),
                picture.pixels.size() * sizeof(uint32_t));
    return lastPicture.data();
}

// The shortest decimal text that the game's reader reads back to `value`.
extern "C" EMSCRIPTEN_KEEPALIVE const char* quillfen_float_text(float value)
{
    lastFloatText = floatText(value);
    return lastFloatText.c_str();
}
