// The browser build's level module: the level editor's core behind a C interface, called from
// the page's worker (web/editor/level-worker.js) on the files it writes into a folder.

#include "gfx/PictureFile.h"
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
DescriptionTables lastTables;
std::vector<uintptr_t> lastTableSpans;
std::string lastFloatText;
std::vector<uint8_t> lastPicture;

// The folder's pictures are read again for every description (by the lint, the game's scene
// and the page's pictures) while only its text changes: their decodings are kept, this much.
constexpr std::size_t kKeptPictureBytes = std::size_t{32} << 20;

template <typename Items> void noteSpan(const Items& items)
{
    lastTableSpans.push_back(reinterpret_cast<uintptr_t>(items.data()));
    lastTableSpans.push_back(items.size() * sizeof(items[0]));
}

} // namespace

// The folder's description as JSON, with its records and overlay in tables
// (LevelDescription.h, DescriptionTables.h).
extern "C" EMSCRIPTEN_KEEPALIVE const char* quillfen_describe_level(const char* folder)
{
    keepDecodedPictures(kKeptPictureBytes);
    lastDescription = describeLevel(folder, lastTables);
    return lastDescription.c_str();
}

// Where the last description's tables are, as 32-bit numbers: how many, then the address and
// the length in bytes of each, in this order: records, keys, values, valueNumbers, fields,
// fieldNumbers, findings, shapes, shapeNumbers, findingRows, messages and report.
extern "C" EMSCRIPTEN_KEEPALIVE const uintptr_t* quillfen_description_tables()
{
    const DescriptionTables& t = lastTables;
    lastTableSpans.assign(1, 0);
    noteSpan(t.records);
    noteSpan(t.keys);
    noteSpan(t.values);
    noteSpan(t.valueNumbers);
    noteSpan(t.fields);
    noteSpan(t.fieldNumbers);
    noteSpan(t.findings);
    noteSpan(t.shapes);
    noteSpan(t.shapeNumbers);
    noteSpan(t.findingRows);
    noteSpan(t.messages);
    noteSpan(t.report);
    lastTableSpans[0] = (lastTableSpans.size() - 1) / 2;
    return lastTableSpans.data();
}

// The picture of the folder as the game shows it: its width and height as two 32-bit
// little-endian integers, then its RGBA bytes row by row from the top. Null when it cannot be
// read.
extern "C" EMSCRIPTEN_KEEPALIVE const uint8_t* quillfen_picture_rgba(const char* folder,
                                                                     const char* name)
{
    keepDecodedPictures(kKeptPictureBytes);
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
