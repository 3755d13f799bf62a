// Picture loading without a window: the disc mask, the RGBA conversion, the power-of-two copy
// that becomes the texture, ids and records, and what bad or missing bitmaps do.

#include "gfx/Image.h"
#include "gfx/Renderer.h"
#include "support/Pictures.h"
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

// A renderer with no world and no OpenGL, as the world's own in a headless run.
Renderer headlessRenderer()
{
    return Renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
}

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

SurfacePtr copyOf(SDL_Surface* picture, float* coordinates = nullptr)
{
    float unused[4] = {};
    SurfacePtr copy(powerOfTwoCopy(picture, coordinates != nullptr ? coordinates : unused));
    EXPECT_NE(copy, nullptr);
    return copy;
}

TEST(DiscMask, CutsA32By32PictureRowByRowAndKeepsEveryColour)
{
    // First and last opaque column of each row; rows 13 to 19 are opaque across.
    const std::vector<std::pair<int, int>> expected = {
        {13, 18}, {10, 21}, {8, 23}, {7, 24}, {5, 26}, {4, 27}, {4, 27}, {3, 28},
        {2, 29},  {2, 29},  {1, 30}, {1, 30}, {1, 30}, {0, 31}, {0, 31}, {0, 31},
        {0, 31},  {0, 31},  {0, 31}, {0, 31}, {1, 30}, {1, 30}, {1, 30}, {2, 29},
        {2, 29},  {3, 28},  {4, 27}, {4, 27}, {5, 26}, {7, 24}, {8, 23}, {10, 21}};
    const SurfacePtr picture = maskedPicture(32, 32);
    ASSERT_EQ(picture->format->BitsPerPixel, 32);
    for (int row = 0; row < 32; ++row) {
        EXPECT_EQ(opaqueRun(picture.get(), row), expected[static_cast<size_t>(row)])
            << "row " << row;
        // Only alpha bits change, in opaque and transparent pixels alike.
        for (int column = 0; column < 32; ++column) {
            ASSERT_EQ(colourAt(picture.get(), column, row), positionColour(column, row))
                << "column " << column << " row " << row;
        }
    }
}

TEST(DiscMask, LeavesTheRowsOfATallPictureBeyondTheDiscAsLoadedAndCutsAWideOneEverywhere)
{
    // R = 19.2 around (16, 32): the walk reaches rows 12 to 51 only.
    const SurfacePtr picture = makeRgbaSurface(32, 64, positionColour, 0x5A);
    applyDiscMask(picture.get());
    for (int row = 0; row < 64; ++row) {
        const bool reached = row >= 12 && row <= 51;
        for (int column = 0; column < 32; ++column) {
            const Uint8 alpha = alphaAt(picture.get(), column, row);
            ASSERT_TRUE(reached ? alpha == 0 || alpha == 255 : alpha == 0x5A)
                << "column " << column << " row " << row;
        }
    }
    EXPECT_EQ(opaqueRun(picture.get(), 32), std::make_pair(0, 31));
    // R = 28.8 around (32, 16): every row is reached, the top and bottom rows by wide spans.
    const SurfacePtr wide = maskedPicture(64, 32);
    EXPECT_EQ(opaqueRun(wide.get(), 0), std::make_pair(8, 54));
    EXPECT_EQ(opaqueRun(wide.get(), 31), std::make_pair(7, 55));
}

TEST(RgbaConversion, AddsAnOpaqueAlphaChannelWithTheLineAndKeepsAnExistingOne)
{
    LogCapture log;
    SurfacePtr rgba(toRgbaSurface(makeRgbSurface(5, 3, positionColour).release()));
    EXPECT_EQ(log.text(), kNoAlphaLine);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->format->Rmask, 0x000000FFu);
    EXPECT_EQ(rgba->format->Amask, 0xFF000000u);
    EXPECT_EQ(colourAt(rgba.get(), 4, 2), positionColour(4, 2));
    EXPECT_EQ(alphaAt(rgba.get(), 4, 2), 255);

    // The classic bitmap loader gives 32-bit files no alpha channel: they are converted.
    log.clear();
    SurfacePtr converted(
        toRgbaSurface(SDL_CreateRGBSurface(0, 2, 2, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0)));
    EXPECT_EQ(log.text(), kNoAlphaLine);
    EXPECT_EQ(alphaAt(converted.get(), 1, 1), 255);

    // A 32-bit picture with an alpha channel is used as it is, its alpha untouched.
    log.clear();
    SDL_Surface* withAlpha = makeRgbaSurface(2, 2, positionColour, 0x40).release();
    SurfacePtr kept(toRgbaSurface(withAlpha));
    EXPECT_EQ(log.text(), "");
    EXPECT_EQ(kept.get(), withAlpha);
    EXPECT_EQ(alphaAt(kept.get(), 1, 0), 0x40);

    // 4-4-4-4 pixels: converted without the line, the alpha copied rather than blended.
    SDL_Surface* sixteen = SDL_CreateRGBSurface(0, 3, 1, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    ASSERT_NE(sixteen, nullptr);
    const Uint16 pixels[3] = {0xFF00, 0x80F0, 0x100F};
    std::copy(pixels, pixels + 3, static_cast<Uint16*>(sixteen->pixels));
    SurfacePtr fromSixteen(toRgbaSurface(sixteen));
    EXPECT_EQ(log.text(), "");
    ASSERT_EQ(fromSixteen->format->BitsPerPixel, 32);
    const Rgb colours[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const Uint8 alphas[3] = {255, 0x88, 0x11};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(colourAt(fromSixteen.get(), column, 0), colours[column]);
        EXPECT_EQ(alphaAt(fromSixteen.get(), column, 0), alphas[column]);
    }
}

TEST(Texture, PowerOfTwoSizesAndCoordinates)
{
    struct Case {
        int width, height, textureWidth, textureHeight;
        float right, bottom;
    };
    for (const Case& c :
         {Case{100, 60, 128, 64, 0.78125f, 0.9375f}, Case{64, 64, 64, 64, 1.0f, 1.0f},
          Case{1, 1, 1, 1, 1.0f, 1.0f}, Case{65, 3, 128, 4, 0.5078125f, 0.75f}}) {
        const SurfacePtr picture = maskedPicture(c.width, c.height);
        float coordinates[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
        const SurfacePtr copy = copyOf(picture.get(), coordinates);
        const std::vector<float> got(coordinates, coordinates + 4);
        EXPECT_EQ(got, std::vector<float>({0.0f, 0.0f, c.right, c.bottom}))
            << c.width << "x" << c.height;
        EXPECT_EQ(std::make_pair(copy->w, copy->h),
                  std::make_pair(c.textureWidth, c.textureHeight));
    }
}

TEST(Texture, CopyHoldsThePictureTopLeftWithItsMaskAndColours)
{
    const SurfacePtr picture = maskedPicture(100, 60);
    const SurfacePtr copy = copyOf(picture.get());
    // Bytes in memory: red, green, blue, alpha, as the texture upload reads them.
    EXPECT_EQ(copy->format->Rmask, 0x000000FFu);
    EXPECT_EQ(copy->format->Amask, 0xFF000000u);
    EXPECT_EQ(copy->pitch, 128 * 4);
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 128; ++column) {
            const bool inside = column < 100 && row < 60;
            const Uint8 alpha = alphaAt(copy.get(), column, row);
            ASSERT_EQ(alpha, inside ? alphaAt(picture.get(), column, row) : 0)
                << column << "," << row;
            if (alpha == 255) {
                ASSERT_EQ(colourAt(copy.get(), column, row), positionColour(column, row))
                    << "column " << column << " row " << row;
            }
        }
    }
}

TEST(Texture, CopiesInsteadOfBlendingAndRestoresPerSurfaceAlpha)
{
    // With blending left on, the copy onto the transparent texture would darken the colours.
    const SurfacePtr picture = makeRgbaSurface(3, 3, positionColour, 0x30);
    ASSERT_EQ(SDL_SetAlpha(picture.get(), SDL_SRCALPHA | SDL_RLEACCEL, 77), 0);
    const Uint32 flagsBefore = picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK);
    const Uint8 alphaBefore = picture->format->alpha;
    const SurfacePtr copy = copyOf(picture.get());
    EXPECT_EQ(alphaAt(copy.get(), 2, 1), 0x30);
    EXPECT_EQ(colourAt(copy.get(), 2, 1), positionColour(2, 1));
    EXPECT_EQ(picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK), flagsBefore);
    EXPECT_EQ(picture->format->alpha, alphaBefore);

    // No alpha channel but per-surface alpha: copied opaque, and the per-surface alpha comes back.
    SurfacePtr halfSeen(SDL_CreateRGBSurface(0, 2, 2, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    ASSERT_NE(halfSeen, nullptr);
    SDL_FillRect(halfSeen.get(), nullptr, SDL_MapRGB(halfSeen->format, 200, 100, 50));
    ASSERT_EQ(SDL_SetAlpha(halfSeen.get(), SDL_SRCALPHA, 77), 0);
    const SurfacePtr halfSeenCopy = copyOf(halfSeen.get());
    EXPECT_EQ(colourAt(halfSeenCopy.get(), 1, 1), (Rgb{200, 100, 50}));
    EXPECT_EQ(alphaAt(halfSeenCopy.get(), 1, 1), 255);
    EXPECT_NE(halfSeen->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(halfSeen->format->alpha, 77);
}

class LoadImageTest : public ::testing::Test {
protected:
    void SetUp() override { nextObjectId = 40; }

    std::string writeBitmap(const std::string& name, const std::string& bytes) const
    {
        scratch.write(name, bytes);
        return scratch.file(name);
    }

    SDL_Surface* read(const std::string& name, const std::string& bytes) const
    {
        return readBitmap(SDL_RWFromFile(writeBitmap(name, bytes).c_str(), "rb"));
    }

    ScratchDirectory scratch;
    Renderer renderer = headlessRenderer();
};

TEST_F(LoadImageTest, TakesItsIdFirstAndAppendsARecordPerLoadOfTheSameFile)
{
    const std::string file = writeBitmap("picture.bmp", bitmapBytes(bitmapOf(100, 60, 24)));
    LogCapture log;
    EXPECT_EQ(renderer.loadImage(file.c_str()), 40);
    EXPECT_EQ(renderer.loadImage(file.c_str()), 41);
    EXPECT_EQ(log.text(), std::string(kNoAlphaLine) + kNoAlphaLine);
    EXPECT_EQ(nextObjectId, 42);
    ASSERT_EQ(renderer.images.size(), 2u);
    for (int index = 0; index < 2; ++index) {
        const ImageRecord& record = renderer.images[static_cast<size_t>(index)];
        EXPECT_EQ(record.id, 40 + index);
        EXPECT_EQ(record.texture, 0u); // no OpenGL without a window
        EXPECT_EQ(record.texRight, 0.78125f);
        EXPECT_EQ(record.texBottom, 0.9375f);
        EXPECT_EQ(renderer.findImageIndex(record.id), index);
    }
}

TEST_F(LoadImageTest, BadBitmapsLoadAsTheLoaderReadsThemOrFailAsPicturesThatCannotBeLoaded)
{
    enum Outcome { Loads, Fails, Either };
    const std::string picture = bitmapBytes(bitmapOf(6, 5, 24));
    const std::vector<std::tuple<std::string, std::string, Outcome>> files = {
        {"empty.bmp", "", Fails},
        {"not-a-bitmap.bmp", "GIF89a this is no bitmap at all", Fails},
        {"header-cut.bmp", picture.substr(0, 30), Fails},
        {"rows-cut.bmp", picture.substr(0, picture.size() - 30), Either},
        {"zero-sized.bmp", bitmapHeaderOnly(0, 0, 24, 0), Fails},
        {"zero-high.bmp", bitmapHeaderOnly(6, 0, 24, 0), Either},
        {"huge-24.bmp", bitmapHeaderOnly(65535, 65535, 24, 64), Fails},
        {"huge-32.bmp", bitmapHeaderOnly(65535, 65535, 32, 64), Fails},
        {"huge-8.bmp", bitmapHeaderOnly(65535, 65535, 8, 64), Fails},
        {"negative-width.bmp", bitmapHeaderOnly(-6, 5, 24, 120), Either},
        {"top-down.bmp", bitmapHeaderOnly(6, -5, 24, 120), Loads},
        {"odd-depth.bmp", bitmapHeaderOnly(6, 5, 7, 120), Either},
    };
    for (const auto& [name, bytes, outcome] : files) {
        const std::string file = writeBitmap(name, bytes);
        const size_t recordsBefore = renderer.images.size();
        const int32_t idBefore = nextObjectId;
        LogCapture log;
        try {
            EXPECT_EQ(renderer.loadImage(file.c_str()), idBefore) << name;
            EXPECT_NE(outcome, Fails) << name;
            EXPECT_EQ(renderer.images.size(), recordsBefore + 1) << name;
        } catch (const ImageLoadError& error) {
            EXPECT_NE(outcome, Loads) << name;
            EXPECT_STREQ(error.what(), kLoadError) << name;
            EXPECT_EQ(error.fileName, file);
            EXPECT_EQ(renderer.images.size(), recordsBefore) << name;
        }
        EXPECT_EQ(nextObjectId, idBefore + 1) << name << ": the id is taken before reading";
    }
}

// The picture fuzzer's seed corpus: 1-, 4-, 8-, 16-, 24- and 32-bit bitmaps (paletted ones
// among them), stored bottom-up and top-down. Every one loads and is cut to a disc.
TEST_F(LoadImageTest, BitmapsOfEveryDepthLoadAsOpaqueDiscs)
{
    const std::string corpus = std::string(QUILLFEN_TESTS_DIR) + "/../fuzz/corpus/picture";
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("7x7-", 0) != 0) {
            continue;
        }
        LogCapture log;
        EXPECT_NO_THROW(renderer.loadImage(entry.path().c_str())) << name;
        const SurfacePtr picture(
            toRgbaSurface(readBitmap(SDL_RWFromFile(entry.path().c_str(), "rb"))));
        ASSERT_NE(picture, nullptr) << name;
        applyDiscMask(picture.get());
        EXPECT_EQ(alphaAt(picture.get(), 3, 3), 255) << name;
        EXPECT_EQ(alphaAt(picture.get(), 0, 0), 0) << name;
        ++loaded;
    }
    EXPECT_EQ(loaded, 12);
}

TEST_F(LoadImageTest, PicturesBeyondTheSizeLimitOrWithHeadersCutShortAreRefusedBeforeReading)
{
    // The loader itself would first reserve gigabytes and then fail reading; refusing the
    // header up front leaves no loader error behind.
    SDL_ClearError();
    EXPECT_EQ(read("huge.bmp", bitmapHeaderOnly(65535, 65535, 32, 64)), nullptr);
    EXPECT_STREQ(SDL_GetError(), "");
    EXPECT_EQ(readBitmap(nullptr), nullptr);

    // A run-length bitmap can describe a huge picture in a few bytes honestly, but no picture
    // of the game needs more than 16384 pixels a side.
    std::string compressed = bitmapHeaderOnly(65535, 65535, 8, 4);
    compressed[30] = 1; // run-length encoded, 8 bits
    EXPECT_EQ(read("compressed.bmp", compressed), nullptr);
    // The oldest (12-byte) header holds its sizes as unsigned 16-bit numbers.
    const std::string oldest =
        "BM" + std::string(8, '\0') + std::string("\x1a\0\0\0\x0c\0\0\0", 8) +
        std::string("\xff\xff\xff\xff\x01\0\x18\0", 8) + std::string(16, '\0');
    EXPECT_EQ(read("oldest.bmp", oldest), nullptr);
    // A picture header cut short by the end of the file would be read on into garbage.
    EXPECT_EQ(read("cut.bmp", bitmapHeaderOnly(4, 4, 24, 0).substr(0, 30)), nullptr);
    EXPECT_EQ(read("wide.bmp", bitmapBytes(bitmapOf(16385, 1, 24))), nullptr);
    const SurfacePtr widest(read("widest.bmp", bitmapBytes(bitmapOf(16384, 1, 24))));
    ASSERT_NE(widest, nullptr);
    EXPECT_EQ(widest->w, 16384);
}

TEST(FindImageIndex, FindsOnlyLoadedPictures)
{
    EXPECT_EQ(headlessRenderer().findImageIndex(0), -1);
    const std::unique_ptr<Game> game = makeHeadlessGame();
    const Renderer& renderer = game->renderer;
    ASSERT_EQ(renderer.levelPicture.id, 0);
    // Not in the table: the background, the tile, an entity, unknown ids.
    for (int32_t id : {0, game->tiles.front().id, game->avatar().id, 9999, -1}) {
        EXPECT_EQ(renderer.findImageIndex(id), -1) << id;
    }
    const std::vector<int32_t> pictureIds = {2, 6, 7, 8, 10, 12};
    ASSERT_EQ(renderer.images.size(), pictureIds.size());
    for (size_t index = 0; index < pictureIds.size(); ++index) {
        EXPECT_EQ(renderer.findImageIndex(pictureIds[index]), static_cast<int>(index));
    }
}

TEST(GamePictures, AMissingTileEndsTheConstructionWithTheLoadError)
{
    ScratchDirectory scratch;
    std::filesystem::remove(scratch.file("tile.bmp"));
    resetProcessState();
    ScopedWorkingDirectory inScratch(scratch.path());
    LogCapture log;
    try {
        Game game(RenderMode::Headless);
        FAIL() << "the world was built without its tile picture";
    } catch (const ImageLoadError& error) {
        EXPECT_STREQ(error.what(), kLoadError);
        EXPECT_EQ(error.fileName, "tile.bmp");
    }
}

// Ids of everything the construction made, in the order it made them.
std::vector<int32_t> constructionIds(const Game& game)
{
    std::vector<int32_t> ids = {game.renderer.levelPicture.id, game.tiles.front().id,
                                game.tiles.front().imageId};
    for (const EntityList& list : game.entityLists) {
        for (const auto& entity : list) {
            ids.push_back(entity->id);
            ids.insert(ids.end(), entity->imageIds.begin(), entity->imageIds.end());
        }
    }
    for (const ImageRecord& record : game.renderer.images) {
        ids.push_back(record.id);
    }
    ids.push_back(nextObjectId);
    return ids;
}

TEST(GamePictures, AMissingBackgroundIsReportedOnceAndKeepsEveryId)
{
    ScratchDirectory normal;
    std::string normalLog;
    std::vector<int32_t> normalIds;
    {
        resetProcessState();
        ScopedWorkingDirectory inScratch(normal.path());
        LogCapture log;
        Game game(RenderMode::Headless);
        normalLog = log.text();
        normalIds = constructionIds(game);
        EXPECT_EQ(game.renderer.levelPicture.texRight, 1000.0f / 1024.0f);
        EXPECT_EQ(game.renderer.levelPicture.texBottom, 180.0f / 256.0f);
    }

    ScratchDirectory scratch;
    std::filesystem::remove(scratch.file("level.bmp"));
    resetProcessState();
    ScopedWorkingDirectory inScratch(scratch.path());
    LogCapture log;
    ErrorCapture errors;
    Game game(RenderMode::Headless);
    const std::string errorText = errors.text();
    EXPECT_NE(errorText.find("level.bmp"), std::string::npos) << errorText;
    EXPECT_EQ(std::count(errorText.begin(), errorText.end(), '\n'), 1) << errorText;
    EXPECT_EQ(log.text(), normalLog) << "the game's log stays as in a normal start";
    EXPECT_EQ(game.renderer.levelPicture.texture, 0u);
    EXPECT_EQ(game.renderer.levelPicture.texRight, 0.0f);
    EXPECT_EQ(constructionIds(game), normalIds);
}

} // namespace
