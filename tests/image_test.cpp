// Which bitmaps load (the picture fuzzer's seeds do) or fail, their id taken all the same.
#include "gfx/Image.h"
#include "gfx/Renderer.h"
#include "gfx/SdlBitmap.h"
#include "support/Pictures.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

namespace {

TEST(LoadImage, BadBitmapsFailAsPicturesThatCannotBeLoadedAndTheFuzzSeedsLoad)
{
    const std::string bitmap = bitmapBytes(bitmapOf(6, 5, 24));
    std::string compressed = bitmapHeaderOnly(65535, 65535, 8, 4);
    compressed[30] = 1; // run-length encoded: a huge picture in a few honest bytes
    // The oldest (12-byte) header holds its sizes as unsigned 16-bit numbers.
    const std::string oldest =
        "BM" + std::string(8, '\0') + std::string("\x1a\0\0\0\x0c\0\0\0", 8) +
        std::string("\xff\xff\xff\xff\x01\0\x18\0", 8) + std::string(16, '\0');
    // Loads (1), fails (0) or either (-1); no picture of the game is over 16384 pixels wide.
    // clang-format off
    std::vector<std::pair<std::string, int>> files = {
        {"", 0}, {"GIF89a this is no bitmap at all", 0}, {bitmap.substr(0, 30), 0},
        {bitmap.substr(0, bitmap.size() - 30), -1}, {bitmapHeaderOnly(0, 0, 24, 0), 0},
        {bitmapHeaderOnly(6, 0, 24, 0), -1}, {bitmapHeaderOnly(65535, 65535, 32, 64), 0},
        {bitmapHeaderOnly(65535, 65535, 8, 64), 0}, {compressed, 0}, {oldest, 0},
        {bitmapHeaderOnly(-6, 5, 24, 120), -1}, {bitmapHeaderOnly(6, -5, 24, 120), 1},
        {bitmapHeaderOnly(6, 5, 7, 120), -1}, {bitmapBytes(bitmapOf(16385, 1, 24)), 0}};
    // clang-format on
    const std::string corpus = std::string(QUILLFEN_TESTS_DIR) + "/../fuzz/corpus/picture";
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        // The seeds named by their size ("5x3-8bit-topdown.bmp") are sound pictures.
        if (std::isdigit(static_cast<unsigned char>(entry.path().filename().string()[0])) != 0) {
            files.emplace_back(readWholeFile(entry.path()), 1);
        }
    }
    ScratchDirectory scratch;
    const std::string file = scratch.file("picture.bmp");
    Renderer renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
    for (size_t index = 0; index < files.size(); ++index) {
        scratch.write("picture.bmp", files[index].first);
        const int32_t id = nextObjectId;
        LogCapture log;
        bool loaded = false;
        try {
            loaded = renderer.loadImage(file.c_str()) == id;
        } catch (const ImageLoadError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(kImageFailedToLoad, 0), 0u);
            EXPECT_EQ(error.fileName, file);
        }
        EXPECT_NE(files[index].second, loaded ? 0 : 1) << "file " << index;
        EXPECT_EQ(nextObjectId, id + 1) << "file " << index;
    }
    // Headers cut short or claiming more than the file holds are refused before the loader.
    for (const std::string& claim : {bitmap.substr(0, 20), bitmapHeaderOnly(4000, 4000, 32, 64)}) {
        scratch.write("picture.bmp", claim);
        SDL_ClearError();
        EXPECT_EQ(readBitmap(SDL_RWFromFile(file.c_str(), "rb")), nullptr);
        EXPECT_STREQ(SDL_GetError(), "") << "the loader read " << claim.size() << " bytes";
    }
    for (const auto& [size, power] : {std::pair{0, 1}, {1, 1}, {3, 4}, {64, 64}, {65, 128}}) {
        EXPECT_EQ(powerOfTwoAtLeast(size), power) << "the texture of a picture " << size << " wide";
    }
}

} // namespace
