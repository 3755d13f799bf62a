// Picture loading without a window: the disc mask, the RGBA conversion, the power-of-two copy
// that becomes the texture, ids and records, and what bad or missing bitmaps do.

#include "gfx/Image.h"
#include "gfx/Renderer.h"
#include "support/Pictures.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const char* const kNoAlphaLine = "No alpha mask, converting pixel format to add alpha\n";
const char* const kLoadError = "zomg h4x Image failed to load or something cool like that";

// A picture as loadImage has it just before the upload: converted to RGBA and cut to a disc.
SurfacePtr maskedPicture(int width, int height)
{
    LogCapture conversionLine;
    SurfacePtr rgba(toRgbaSurface(makeRgbSurface(width, height, positionColour).release()));
    applyDiscMask(rgba.get());
    return rgba;
}

// First and last opaque column of a row (-1, -1 for a transparent row); fails the test if the
// row has any alpha besides 0 and 255 or its opaque pixels are not one run.
std::pair<int, int> opaqueRun(SDL_Surface* surface, int row)
{
    int first = -1;
    int last = -1;
    for (int column = 0; column < surface->w; ++column) {
        const Uint8 alpha = alphaAt(surface, column, row);
        EXPECT_TRUE(alpha == 0 || alpha == 255) << "column " << column << " row " << row;
        if (alpha == 255) {
            EXPECT_TRUE(last == -1 || last == column - 1) << "gap in row " << row;
            first = first == -1 ? column : first;
            last = column;
        }
    }
    return {first, last};
}

TEST(DiscMask, CutsPicturesRowByRowAndLeavesTheRowsTheWalkNeverReaches)
{
    // 32 by 32: first and last opaque column of each row; rows 13 to 19 are opaque across.
    const std::vector<std::pair<int, int>> expected = {
        {13, 18}, {10, 21}, {8, 23}, {7, 24}, {5, 26}, {4, 27}, {4, 27}, {3, 28},
        {2, 29},  {2, 29},  {1, 30}, {1, 30}, {1, 30}, {0, 31}, {0, 31}, {0, 31},
        {0, 31},  {0, 31},  {0, 31}, {0, 31}, {1, 30}, {1, 30}, {1, 30}, {2, 29},
        {2, 29},  {3, 28},  {4, 27}, {4, 27}, {5, 26}, {7, 24}, {8, 23}, {10, 21}};
    const SurfacePtr square = maskedPicture(32, 32);
    for (int row = 0; row < 32; ++row) {
        EXPECT_EQ(opaqueRun(square.get(), row), expected[static_cast<size_t>(row)]) << row;
    }
    // 32 by 64: R = 19.2 around (16, 32), the walk reaches rows 12 to 51 only.
    const SurfacePtr tall = makeRgbaSurface(32, 64, positionColour, 0x5A);
    applyDiscMask(tall.get());
    for (int row = 0; row < 64; ++row) {
        const bool reached = row >= 12 && row <= 51;
        for (int column = 0; column < 32; ++column) {
            const Uint8 alpha = alphaAt(tall.get(), column, row);
            ASSERT_TRUE(reached ? alpha == 0 || alpha == 255 : alpha == 0x5A)
                << "column " << column << " row " << row;
        }
    }
    EXPECT_EQ(opaqueRun(tall.get(), 32), std::make_pair(0, 31));
    // 64 by 32: R = 28.8 around (32, 16), the top and bottom rows are cut by wide spans.
    const SurfacePtr wide = maskedPicture(64, 32);
    EXPECT_EQ(opaqueRun(wide.get(), 0), std::make_pair(8, 54));
    EXPECT_EQ(opaqueRun(wide.get(), 31), std::make_pair(7, 55));
}

TEST(RgbaConversion, AddsOpaqueAlphaWithTheLineKeepsAnAlphaChannelAndWidensOtherDepths)
{
    // The classic bitmap loader gives 32-bit files no alpha channel: they are converted.
    LogCapture log;
    const SurfacePtr converted(
        toRgbaSurface(SDL_CreateRGBSurface(0, 2, 2, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0)));
    EXPECT_EQ(log.text(), kNoAlphaLine);
    EXPECT_EQ(converted->format->Amask, 0xFF000000u);
    EXPECT_EQ(alphaAt(converted.get(), 1, 1), 255);
    // A 32-bit picture with an alpha channel is used as it is, its alpha untouched.
    log.clear();
    SDL_Surface* withAlpha = makeRgbaSurface(2, 2, positionColour, 0x40).release();
    const SurfacePtr kept(toRgbaSurface(withAlpha));
    EXPECT_EQ(kept.get(), withAlpha);
    EXPECT_EQ(alphaAt(kept.get(), 1, 0), 0x40);
    // 4-4-4-4 pixels: widened to 32 bits without the line, the alpha copied rather than blended.
    SDL_Surface* sixteen = SDL_CreateRGBSurface(0, 3, 1, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    ASSERT_NE(sixteen, nullptr);
    const Uint16 pixels[3] = {0xFF00, 0x80F0, 0x100F};
    std::copy(pixels, pixels + 3, static_cast<Uint16*>(sixteen->pixels));
    const SurfacePtr widened(toRgbaSurface(sixteen));
    EXPECT_EQ(log.text(), "");
    ASSERT_EQ(widened->format->BitsPerPixel, 32);
    const Rgb colours[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const Uint8 alphas[3] = {255, 0x88, 0x11};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(colourAt(widened.get(), column, 0), colours[column]);
        EXPECT_EQ(alphaAt(widened.get(), column, 0), alphas[column]);
    }
}

TEST(Texture, IsAPowerOfTwoCopyWithThePictureTopLeftItsColoursKeptAndCoordinatesOfItsPart)
{
    struct Case {
        int width, height, textureWidth, textureHeight;
        float right, bottom;
    };
    for (const Case& c :
         {Case{100, 60, 128, 64, 0.78125f, 0.9375f}, Case{64, 64, 64, 64, 1.0f, 1.0f},
          Case{1, 1, 1, 1, 1.0f, 1.0f}, Case{65, 3, 128, 4, 0.5078125f, 0.75f}}) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        const SurfacePtr picture = maskedPicture(c.width, c.height);
        float coordinates[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
        const SurfacePtr copy(powerOfTwoCopy(picture.get(), coordinates));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(std::vector<float>(coordinates, coordinates + 4),
                  std::vector<float>({0.0f, 0.0f, c.right, c.bottom}));
        ASSERT_EQ(std::make_pair(copy->w, copy->h),
                  std::make_pair(c.textureWidth, c.textureHeight));
        // Bytes in memory: red, green, blue, alpha, as the texture upload reads them.
        EXPECT_EQ(copy->format->Rmask, 0x000000FFu);
        EXPECT_EQ(copy->format->Amask, 0xFF000000u);
        for (int row = 0; row < copy->h; ++row) {
            for (int column = 0; column < copy->w; ++column) {
                const bool inside = column < c.width && row < c.height;
                const Uint8 alpha = alphaAt(copy.get(), column, row);
                ASSERT_EQ(alpha, inside ? alphaAt(picture.get(), column, row) : 0)
                    << column << "," << row;
                if (alpha == 255) {
                    ASSERT_EQ(colourAt(copy.get(), column, row), positionColour(column, row))
                        << column << "," << row;
                }
            }
        }
    }
}

TEST(Texture, CopiesThePictureInsteadOfBlendingAndRestoresItsPerSurfaceAlpha)
{
    // With blending left on, the copy onto the transparent texture would darken the colours.
    float coordinates[4] = {};
    const SurfacePtr picture = makeRgbaSurface(3, 3, positionColour, 0x30);
    ASSERT_EQ(SDL_SetAlpha(picture.get(), SDL_SRCALPHA | SDL_RLEACCEL, 77), 0);
    const Uint32 flagsBefore = picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK);
    const Uint8 alphaBefore = picture->format->alpha;
    const SurfacePtr copy(powerOfTwoCopy(picture.get(), coordinates));
    EXPECT_EQ(alphaAt(copy.get(), 2, 1), 0x30);
    EXPECT_EQ(colourAt(copy.get(), 2, 1), positionColour(2, 1));
    EXPECT_EQ(picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK), flagsBefore);
    EXPECT_EQ(picture->format->alpha, alphaBefore);
}

// A renderer with no world and no OpenGL, as the world's own in a headless run.
Renderer headlessRenderer()
{
    return Renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
}

TEST(LoadImage, TakesItsIdFirstAndAppendsARecordPerLoadOfTheSameFile)
{
    ScratchDirectory scratch;
    scratch.write("picture.bmp", bitmapBytes(bitmapOf(100, 60, 24)));
    const std::string file = scratch.file("picture.bmp");
    Renderer renderer = headlessRenderer();
    EXPECT_EQ(renderer.findImageIndex(40), -1);
    nextObjectId = 40;
    LogCapture log;
    EXPECT_EQ(renderer.loadImage(file.c_str()), 40);
    EXPECT_EQ(renderer.loadImage(file.c_str()), 41);
    EXPECT_EQ(log.text(), std::string(kNoAlphaLine) + kNoAlphaLine);
    EXPECT_EQ(nextObjectId, 42);
    ASSERT_EQ(renderer.images.size(), 2u);
    for (int index = 0; index < 2; ++index) {
        const ImageRecord& record = renderer.images[static_cast<size_t>(index)];
        EXPECT_EQ(record.id, 40 + index);
        EXPECT_EQ(record.texRight, 0.78125f);
        EXPECT_EQ(record.texBottom, 0.9375f);
        EXPECT_EQ(renderer.findImageIndex(record.id), index);
    }
}

TEST(LoadImage, BadBitmapsLoadAsTheLoaderReadsThemOrFailAsPicturesThatCannotBeLoaded)
{
    enum Outcome { Loads, Fails, Either };
    const std::string picture = bitmapBytes(bitmapOf(6, 5, 24));
    std::string compressed = bitmapHeaderOnly(65535, 65535, 8, 4);
    compressed[30] = 1; // run-length encoded: a huge picture in a few honest bytes
    // The oldest (12-byte) header holds its sizes as unsigned 16-bit numbers.
    const std::string oldest =
        "BM" + std::string(8, '\0') + std::string("\x1a\0\0\0\x0c\0\0\0", 8) +
        std::string("\xff\xff\xff\xff\x01\0\x18\0", 8) + std::string(16, '\0');
    std::vector<std::tuple<std::string, std::string, Outcome>> files = {
        {"empty.bmp", "", Fails},
        {"not-a-bitmap.bmp", "GIF89a this is no bitmap at all", Fails},
        {"header-cut.bmp", picture.substr(0, 30), Fails},
        {"rows-cut.bmp", picture.substr(0, picture.size() - 30), Either},
        {"zero-sized.bmp", bitmapHeaderOnly(0, 0, 24, 0), Fails},
        {"zero-high.bmp", bitmapHeaderOnly(6, 0, 24, 0), Either},
        {"huge-32.bmp", bitmapHeaderOnly(65535, 65535, 32, 64), Fails},
        {"huge-8.bmp", bitmapHeaderOnly(65535, 65535, 8, 64), Fails},
        {"compressed.bmp", compressed, Fails},
        {"oldest.bmp", oldest, Fails},
        {"negative-width.bmp", bitmapHeaderOnly(-6, 5, 24, 120), Either},
        {"top-down.bmp", bitmapHeaderOnly(6, -5, 24, 120), Loads},
        {"odd-depth.bmp", bitmapHeaderOnly(6, 5, 7, 120), Either},
        // No picture of the game needs more than 16384 pixels a side.
        {"too-wide.bmp", bitmapBytes(bitmapOf(16385, 1, 24)), Fails},
    };
    // The picture fuzzer's seeds: 1- to 32-bit bitmaps, paletted ones among them, stored
    // bottom-up and top-down.
    const std::string corpus = std::string(QUILLFEN_TESTS_DIR) + "/../fuzz/corpus/picture";
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        files.emplace_back(entry.path().filename(), readWholeFile(entry.path()), Loads);
    }

    ScratchDirectory scratch;
    Renderer renderer = headlessRenderer();
    for (const auto& [name, bytes, outcome] : files) {
        SCOPED_TRACE(name);
        scratch.write(name, bytes);
        const std::string file = scratch.file(name);
        const size_t recordsBefore = renderer.images.size();
        const int32_t idBefore = nextObjectId;
        LogCapture log;
        try {
            EXPECT_EQ(renderer.loadImage(file.c_str()), idBefore);
            EXPECT_NE(outcome, Fails);
            EXPECT_EQ(renderer.images.size(), recordsBefore + 1);
        } catch (const ImageLoadError& error) {
            EXPECT_NE(outcome, Loads);
            EXPECT_STREQ(error.what(), kLoadError);
            EXPECT_EQ(error.fileName, file);
            EXPECT_EQ(renderer.images.size(), recordsBefore);
        }
        EXPECT_EQ(nextObjectId, idBefore + 1) << "the id is taken before reading";
    }
    // A header claiming more than the file holds is refused before the loader reserves
    // gigabytes for it, so no loader error is left behind.
    SDL_ClearError();
    EXPECT_EQ(readBitmap(SDL_RWFromFile(scratch.file("huge-32.bmp").c_str(), "rb")), nullptr);
    EXPECT_STREQ(SDL_GetError(), "");
    EXPECT_EQ(readBitmap(nullptr), nullptr);
}

// A headless start in `scratch`, a copy of the bundled assets, after `missingFile` is removed.
std::unique_ptr<Game> startWithout(const ScratchDirectory& scratch, const std::string& missingFile)
{
    std::filesystem::remove(scratch.file(missingFile));
    resetProcessState();
    ScopedWorkingDirectory inScratch(scratch.path());
    return std::make_unique<Game>(RenderMode::Headless);
}

TEST(GamePictures, AMissingBackgroundIsReportedOnceAndKeepsTheLogAndEveryId)
{
    ScratchDirectory scratch;
    LogCapture log;
    ErrorCapture errors;
    const auto game = startWithout(scratch, "level.bmp");
    const std::string errorText = errors.text();
    EXPECT_NE(errorText.find("level.bmp"), std::string::npos) << errorText;
    EXPECT_EQ(std::count(errorText.begin(), errorText.end(), '\n'), 1) << errorText;
    // As in a normal start: the six pictures loadImage converts, no word of the background.
    std::string sixLines;
    for (int line = 0; line < 6; ++line) {
        sixLines += kNoAlphaLine;
    }
    EXPECT_EQ(log.text(), sixLines);
    EXPECT_EQ(game->renderer.levelPicture.texRight, 0.0f);
    std::vector<int32_t> ids = {game->renderer.levelPicture.id};
    for (const ImageRecord& record : game->renderer.images) {
        ids.push_back(record.id);
    }
    ids.push_back(nextObjectId);
    EXPECT_EQ(ids, std::vector<int32_t>({0, 2, 6, 7, 8, 10, 12, 13}));
}

TEST(GamePictures, AMissingTileEndsTheConstructionWithTheLoadError)
{
    ScratchDirectory scratch;
    LogCapture log;
    try {
        startWithout(scratch, "tile.bmp");
        FAIL() << "the world was built without its tile picture";
    } catch (const ImageLoadError& error) {
        EXPECT_STREQ(error.what(), kLoadError);
        EXPECT_EQ(error.fileName, "tile.bmp");
    }
}

} // namespace
