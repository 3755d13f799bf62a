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
#include <utility>
#include <vector>

namespace {

const char* const kNoAlphaLine = "No alpha mask, converting pixel format to add alpha\n";

// A renderer with no world and no OpenGL, as the world's own in a headless run.
Renderer headlessRenderer()
{
    return Renderer(nullptr, 640.0f, 480.0f, 3000.0f, 680.0f, RenderMode::Headless);
}

// A picture as loadImage has it just before the upload: converted to RGBA and cut to a disc.
SurfacePtr maskedPicture(int width, int height, const Painter& paint = positionColour)
{
    LogCapture conversionLine;
    SurfacePtr rgba(toRgbaSurface(makeRgbSurface(width, height, paint).release()));
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

TEST(DiscMask, CutsA32By32PictureRowByRow)
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
    }
}

TEST(DiscMask, LeavesTheRowsOfATallPictureBeyondTheDiscAsLoaded)
{
    // R = 19.2 around (16, 32): the walk reaches rows 12 to 51 only.
    const SurfacePtr picture = makeRgbaSurface(32, 64, positionColour, 0x5A);
    applyDiscMask(picture.get());
    for (int row = 0; row < 64; ++row) {
        const bool reached = row >= 12 && row <= 51;
        for (int column = 0; column < 32; ++column) {
            const Uint8 alpha = alphaAt(picture.get(), column, row);
            if (reached) {
                ASSERT_TRUE(alpha == 0 || alpha == 255) << "column " << column << " row " << row;
            } else {
                ASSERT_EQ(alpha, 0x5A) << "column " << column << " row " << row;
            }
        }
    }
    // The disc is wider than the picture: its middle rows are opaque across.
    EXPECT_EQ(opaqueRun(picture.get(), 32), std::make_pair(0, 31));
    // A picture that came without alpha keeps those rows fully opaque.
    const SurfacePtr loaded = maskedPicture(32, 64);
    EXPECT_EQ(alphaAt(loaded.get(), 0, 0), 255);
    EXPECT_EQ(alphaAt(loaded.get(), 31, 63), 255);
}

TEST(DiscMask, CutsAWidePictureAtItsTopAndBottomRows)
{
    // R = 28.8 around (32, 16): every row is reached, the top and bottom rows by wide spans.
    const SurfacePtr picture = maskedPicture(64, 32);
    EXPECT_EQ(opaqueRun(picture.get(), 0), std::make_pair(8, 54));
    EXPECT_EQ(opaqueRun(picture.get(), 31), std::make_pair(7, 55));
    EXPECT_EQ(opaqueRun(picture.get(), 16), std::make_pair(3, 59));
}

TEST(DiscMask, KeepsEveryPixelsColour)
{
    // Row 0 is made wholly transparent first and partly opaque later; only alpha bits change.
    const SurfacePtr picture = maskedPicture(32, 32);
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < 32; ++column) {
            ASSERT_EQ(colourAt(picture.get(), column, row), positionColour(column, row))
                << "column " << column << " row " << row;
        }
    }
}

TEST(DiscMask, SetRowAlphaTakesTheColumnsInEitherOrderAndIgnoresRowsOutside)
{
    const SurfacePtr picture = makeRgbaSurface(8, 2, positionColour, 0x77);
    setRowAlpha(picture.get(), 0, 6, 2);
    EXPECT_EQ(opaqueRun(picture.get(), 0), std::make_pair(2, 5));
    setRowAlpha(picture.get(), 0, -5, 50);
    EXPECT_EQ(opaqueRun(picture.get(), 0), std::make_pair(0, 7));
    setRowAlpha(picture.get(), 0, 3, 3);
    EXPECT_EQ(opaqueRun(picture.get(), 0), std::make_pair(-1, -1));
    setRowAlpha(picture.get(), -1, 0, 8);
    setRowAlpha(picture.get(), 2, 0, 8);
    EXPECT_EQ(alphaAt(picture.get(), 0, 1), 0x77);
    EXPECT_EQ(colourAt(picture.get(), 4, 0), positionColour(4, 0));
}

TEST(RgbaConversion, AddsAnOpaqueAlphaChannelAndSaysSo)
{
    LogCapture log;
    SurfacePtr rgba(toRgbaSurface(makeRgbSurface(5, 3, positionColour).release()));
    EXPECT_EQ(log.text(), kNoAlphaLine);
    ASSERT_NE(rgba, nullptr);
    const SDL_PixelFormat& format = *rgba->format;
    EXPECT_EQ(format.BitsPerPixel, 32);
    EXPECT_EQ(format.Rmask, 0x000000FFu);
    EXPECT_EQ(format.Gmask, 0x0000FF00u);
    EXPECT_EQ(format.Bmask, 0x00FF0000u);
    EXPECT_EQ(format.Amask, 0xFF000000u);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            EXPECT_EQ(colourAt(rgba.get(), column, row), positionColour(column, row));
            EXPECT_EQ(alphaAt(rgba.get(), column, row), 255);
        }
    }
}

TEST(RgbaConversion, ConvertsA32BitPictureWithoutAlphaAndKeepsOneWithAlpha)
{
    // The classic bitmap loader gives 32-bit files no alpha channel: they are converted.
    LogCapture log;
    SDL_Surface* withoutAlpha =
        SDL_CreateRGBSurface(0, 2, 2, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    ASSERT_NE(withoutAlpha, nullptr);
    SurfacePtr converted(toRgbaSurface(withoutAlpha));
    EXPECT_EQ(log.text(), kNoAlphaLine);
    EXPECT_EQ(converted->format->Amask, 0xFF000000u);
    EXPECT_EQ(alphaAt(converted.get(), 1, 1), 255);

    // A 32-bit picture with an alpha channel is used as it is, its alpha untouched.
    log.clear();
    SDL_Surface* withAlpha = makeRgbaSurface(2, 2, positionColour, 0x40).release();
    SurfacePtr kept(toRgbaSurface(withAlpha));
    EXPECT_EQ(log.text(), "");
    EXPECT_EQ(kept.get(), withAlpha);
    EXPECT_EQ(alphaAt(kept.get(), 1, 0), 0x40);
}

TEST(RgbaConversion, ConvertsAPictureWithAlphaThatIsNot32BitsWithoutTheLine)
{
    // 4-4-4-4 pixels: the alpha channel is copied, not blended onto the transparent copy.
    LogCapture log;
    SDL_Surface* sixteen = SDL_CreateRGBSurface(0, 3, 1, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    ASSERT_NE(sixteen, nullptr);
    const Uint16 pixels[3] = {0xFF00, 0x80F0, 0x100F};
    for (int column = 0; column < 3; ++column) {
        static_cast<Uint16*>(sixteen->pixels)[column] = pixels[column];
    }
    SurfacePtr rgba(toRgbaSurface(sixteen));
    EXPECT_EQ(log.text(), "");
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->format->BitsPerPixel, 32);
    EXPECT_EQ(rgba->format->Amask, 0xFF000000u);
    EXPECT_EQ(colourAt(rgba.get(), 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(colourAt(rgba.get(), 1, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(colourAt(rgba.get(), 2, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(alphaAt(rgba.get(), 0, 0), 255);
    EXPECT_EQ(alphaAt(rgba.get(), 1, 0), 0x88);
    EXPECT_EQ(alphaAt(rgba.get(), 2, 0), 0x11);
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
        const SurfacePtr copy(powerOfTwoCopy(picture.get(), coordinates));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->w, c.textureWidth) << c.width << "x" << c.height;
        EXPECT_EQ(copy->h, c.textureHeight) << c.width << "x" << c.height;
        EXPECT_EQ(coordinates[0], 0.0f);
        EXPECT_EQ(coordinates[1], 0.0f);
        EXPECT_EQ(coordinates[2], c.right) << c.width << "x" << c.height;
        EXPECT_EQ(coordinates[3], c.bottom) << c.width << "x" << c.height;
    }
}

TEST(Texture, CopyHoldsThePictureTopLeftWithItsMaskAndColours)
{
    const SurfacePtr picture = maskedPicture(100, 60);
    float coordinates[4] = {};
    const SurfacePtr copy(powerOfTwoCopy(picture.get(), coordinates));
    ASSERT_NE(copy, nullptr);
    // Bytes in memory: red, green, blue, alpha, as the texture upload reads them.
    EXPECT_EQ(copy->format->Rmask, 0x000000FFu);
    EXPECT_EQ(copy->format->Amask, 0xFF000000u);
    EXPECT_EQ(copy->pitch, 128 * 4);
    for (int row = 0; row < 64; ++row) {
        for (int column = 0; column < 128; ++column) {
            const bool inside = column < 100 && row < 60;
            const Uint8 alpha = alphaAt(copy.get(), column, row);
            if (!inside) {
                ASSERT_EQ(alpha, 0) << "column " << column << " row " << row;
                continue;
            }
            ASSERT_EQ(alpha, alphaAt(picture.get(), column, row)) << column << "," << row;
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
    ASSERT_NE(flagsBefore & SDL_SRCALPHA, 0u);
    float coordinates[4] = {};
    const SurfacePtr copy(powerOfTwoCopy(picture.get(), coordinates));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(alphaAt(copy.get(), 2, 1), 0x30);
    EXPECT_EQ(colourAt(copy.get(), 2, 1), positionColour(2, 1));
    EXPECT_EQ(picture->flags & (SDL_SRCALPHA | SDL_RLEACCELOK), flagsBefore);
    EXPECT_EQ(picture->format->alpha, alphaBefore);

    // A surface without an alpha channel but with per-surface alpha: copied opaque, and its
    // per-surface alpha value comes back.
    SurfacePtr halfSeen(SDL_CreateRGBSurface(0, 2, 2, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
    ASSERT_NE(halfSeen, nullptr);
    SDL_FillRect(halfSeen.get(), nullptr, SDL_MapRGB(halfSeen->format, 200, 100, 50));
    ASSERT_EQ(SDL_SetAlpha(halfSeen.get(), SDL_SRCALPHA, 77), 0);
    const SurfacePtr halfSeenCopy(powerOfTwoCopy(halfSeen.get(), coordinates));
    EXPECT_EQ(colourAt(halfSeenCopy.get(), 1, 1), (Rgb{200, 100, 50}));
    EXPECT_EQ(alphaAt(halfSeenCopy.get(), 1, 1), 255);
    EXPECT_NE(halfSeen->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(halfSeen->format->alpha, 77);

    // A picture without blending stays without it.
    const SurfacePtr plain = makeRgbaSurface(2, 2, positionColour, 0x30);
    ASSERT_EQ(SDL_SetAlpha(plain.get(), 0, 0), 0);
    const SurfacePtr plainCopy(powerOfTwoCopy(plain.get(), coordinates));
    EXPECT_EQ(plain->flags & SDL_SRCALPHA, 0u);
    EXPECT_EQ(alphaAt(plainCopy.get(), 1, 1), 0x30);
}

TEST(Texture, PowerOfTwoAtLeast)
{
    EXPECT_EQ(powerOfTwoAtLeast(-3), 1);
    EXPECT_EQ(powerOfTwoAtLeast(0), 1);
    EXPECT_EQ(powerOfTwoAtLeast(1), 1);
    EXPECT_EQ(powerOfTwoAtLeast(2), 2);
    EXPECT_EQ(powerOfTwoAtLeast(3), 4);
    EXPECT_EQ(powerOfTwoAtLeast(1000), 1024);
    EXPECT_EQ(powerOfTwoAtLeast(1024), 1024);
}

class LoadImageTest : public ::testing::Test {
protected:
    void SetUp() override { nextObjectId = 40; }

    std::string writeBitmap(const std::string& name, const BitmapLayout& layout) const
    {
        scratch.write(name, bitmapBytes(layout));
        return scratch.file(name);
    }

    ScratchDirectory scratch;
    Renderer renderer = headlessRenderer();
};

TEST_F(LoadImageTest, TakesItsIdFirstAndAppendsARecordPerLoadOfTheSameFile)
{
    const std::string file = writeBitmap("picture.bmp", bitmapOf(100, 60, 24));
    LogCapture log;
    const int32_t first = renderer.loadImage(file.c_str());
    const int32_t second = renderer.loadImage(file.c_str());
    EXPECT_EQ(log.text(), std::string(kNoAlphaLine) + kNoAlphaLine);
    EXPECT_EQ(first, 40);
    EXPECT_EQ(second, 41);
    EXPECT_EQ(nextObjectId, 42);
    ASSERT_EQ(renderer.images.size(), 2u);
    for (size_t index = 0; index < 2; ++index) {
        const ImageRecord& record = renderer.images[index];
        EXPECT_EQ(record.id, 40 + static_cast<int32_t>(index));
        EXPECT_EQ(record.texture, 0u); // no OpenGL without a window
        EXPECT_EQ(record.texLeft, 0.0f);
        EXPECT_EQ(record.texTop, 0.0f);
        EXPECT_EQ(record.texRight, 0.78125f);
        EXPECT_EQ(record.texBottom, 0.9375f);
    }
    EXPECT_EQ(renderer.findImageIndex(first), 0);
    EXPECT_EQ(renderer.findImageIndex(second), 1);
}

TEST_F(LoadImageTest, SaysNoAlphaOnlyForBitmapsTheLoaderGivesNoAlphaChannel)
{
    // Whether a 32-bit file comes with an alpha channel depends on the SDL bitmap loader in
    // use, so the expectation follows what the loader reports for the file.
    for (int bits : {16, 24, 32}) {
        const std::string name = "depth" + std::to_string(bits) + ".bmp";
        BitmapLayout layout = bitmapOf(4, 4, bits);
        layout.alpha = 0x80;
        const std::string file = writeBitmap(name, layout);
        const SurfacePtr asLoaded(SDL_LoadBMP(file.c_str()));
        ASSERT_NE(asLoaded, nullptr) << name;
        const bool hasAlpha = asLoaded->format->Amask != 0;
        if (bits != 32) {
            EXPECT_FALSE(hasAlpha) << name;
        }
        LogCapture log;
        renderer.loadImage(file.c_str());
        EXPECT_EQ(log.text(), hasAlpha ? "" : kNoAlphaLine) << name;
    }
}

TEST_F(LoadImageTest, KeepsColoursOfA32BitPictureWhateverItsAlphaChannel)
{
    BitmapLayout layout = bitmapOf(8, 8, 32);
    layout.alpha = 0x80;
    const std::string file = writeBitmap("deep.bmp", layout);
    LogCapture log;
    SDL_Surface* loaded = readBitmap(SDL_RWFromFile(file.c_str(), "rb"));
    ASSERT_NE(loaded, nullptr);
    const bool hadAlpha = loaded->format->Amask != 0;
    const SurfacePtr rgba(toRgbaSurface(loaded));
    ASSERT_NE(rgba, nullptr);
    applyDiscMask(rgba.get());
    float coordinates[4] = {};
    const SurfacePtr copy(powerOfTwoCopy(rgba.get(), coordinates));
    ASSERT_NE(copy, nullptr);
    // Row 4 is opaque across, row 0 only in its middle; the colours come through unblended.
    EXPECT_EQ(alphaAt(copy.get(), 0, 4), 255);
    EXPECT_EQ(alphaAt(copy.get(), 0, 0), 0);
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(colourAt(copy.get(), column, 4), positionColour(column, 4)) << column;
    }
    EXPECT_EQ(log.text(), hadAlpha ? "" : kNoAlphaLine);
}

TEST_F(LoadImageTest, LoadsPalettedPicturesWithTheirPaletteColours)
{
    const std::vector<Rgb> palette = {{200, 10, 10}, {10, 200, 10}, {10, 10, 200}, {90, 90, 90}};
    for (int bits : {1, 4, 8}) {
        BitmapLayout layout = bitmapOf(9, 9, bits);
        layout.palette =
            bits == 1 ? std::vector<Rgb>(palette.begin(), palette.begin() + 2) : palette;
        const int colours = static_cast<int>(layout.palette.size());
        layout.index = [colours](int column, int row) { return (column + row) % colours; };
        const std::string file = writeBitmap("paletted" + std::to_string(bits) + ".bmp", layout);

        SDL_Surface* loaded = readBitmap(SDL_RWFromFile(file.c_str(), "rb"));
        ASSERT_NE(loaded, nullptr) << bits << "-bit";
        LogCapture log;
        const SurfacePtr rgba(toRgbaSurface(loaded));
        EXPECT_EQ(log.text(), kNoAlphaLine);
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                ASSERT_EQ(colourAt(rgba.get(), column, row),
                          layout.palette[static_cast<size_t>(layout.index(column, row))])
                    << bits << "-bit, column " << column << " row " << row;
            }
        }
        LogCapture quiet;
        EXPECT_NO_THROW(renderer.loadImage(file.c_str())) << bits << "-bit";
    }
}

TEST_F(LoadImageTest, BadBitmapsLoadAsTheLoaderReadsThemOrFailAsPicturesThatCannotBeLoaded)
{
    const std::string picture = bitmapBytes(bitmapOf(6, 5, 24));
    const std::vector<std::pair<std::string, std::string>> files = {
        {"empty.bmp", ""},
        {"not-a-bitmap.bmp", "GIF89a this is no bitmap at all"},
        {"header-cut.bmp", picture.substr(0, 30)},
        {"rows-cut.bmp", picture.substr(0, picture.size() - 30)},
        {"zero-sized.bmp", bitmapHeaderOnly(0, 0, 24, 0)},
        {"zero-high.bmp", bitmapHeaderOnly(6, 0, 24, 0)},
        {"huge-24.bmp", bitmapHeaderOnly(65535, 65535, 24, 64)},
        {"huge-32.bmp", bitmapHeaderOnly(65535, 65535, 32, 64)},
        {"huge-8.bmp", bitmapHeaderOnly(65535, 65535, 8, 64)},
        {"negative-width.bmp", bitmapHeaderOnly(-6, 5, 24, 120)},
        {"top-down.bmp", bitmapHeaderOnly(6, -5, 24, 120)},
        {"odd-depth.bmp", bitmapHeaderOnly(6, 5, 7, 120)},
    };
    for (const auto& [name, bytes] : files) {
        scratch.write(name, bytes);
        const size_t recordsBefore = renderer.images.size();
        const int32_t idBefore = nextObjectId;
        LogCapture log;
        try {
            const int32_t id = renderer.loadImage(scratch.file(name).c_str());
            EXPECT_EQ(id, idBefore) << name;
            EXPECT_EQ(renderer.images.size(), recordsBefore + 1) << name;
        } catch (const ImageLoadError& error) {
            EXPECT_STREQ(error.what(), "zomg h4x Image failed to load or something cool like that")
                << name;
            EXPECT_EQ(error.fileName, scratch.file(name));
            EXPECT_EQ(renderer.images.size(), recordsBefore) << name;
        }
        EXPECT_EQ(nextObjectId, idBefore + 1) << name << ": the id is taken before reading";
    }
    // The sound ones of these load; the impossible ones must not.
    const auto loads = [&](const std::string& name) {
        LogCapture log;
        try {
            renderer.loadImage(scratch.file(name).c_str());
            return true;
        } catch (const ImageLoadError&) {
            return false;
        }
    };
    EXPECT_TRUE(loads("top-down.bmp"));
    for (const char* name : {"empty.bmp", "not-a-bitmap.bmp", "header-cut.bmp", "zero-sized.bmp",
                             "huge-24.bmp", "huge-32.bmp", "huge-8.bmp"}) {
        EXPECT_FALSE(loads(name)) << name;
    }
}

TEST_F(LoadImageTest, HugeClaimsAreRefusedBeforeTheLoaderReservesThem)
{
    // The loader itself would first reserve gigabytes and then fail reading; refusing the
    // header up front leaves no loader error behind.
    scratch.write("huge.bmp", bitmapHeaderOnly(65535, 65535, 32, 64));
    SDL_ClearError();
    EXPECT_EQ(readBitmap(SDL_RWFromFile(scratch.file("huge.bmp").c_str(), "rb")), nullptr);
    EXPECT_STREQ(SDL_GetError(), "");
    EXPECT_EQ(readBitmap(nullptr), nullptr);
}

TEST_F(LoadImageTest, PicturesBeyondTheSizeLimitOrWithHeadersCutShortAreRefused)
{
    // A run-length bitmap can describe a huge picture in a few bytes honestly, but no picture
    // of the game needs more than 16384 pixels a side.
    std::string compressed = bitmapHeaderOnly(65535, 65535, 8, 4);
    compressed[30] = 1; // run-length encoded, 8 bits
    scratch.write("compressed.bmp", compressed);
    EXPECT_EQ(readBitmap(SDL_RWFromFile(scratch.file("compressed.bmp").c_str(), "rb")), nullptr);

    // The oldest (12-byte) header holds its sizes as unsigned 16-bit numbers.
    std::string oldest = "BM" + std::string(8, '\0') + std::string("\x1a\0\0\0\x0c\0\0\0", 8) +
                         std::string("\xff\xff\xff\xff\x01\0\x18\0", 8) + std::string(16, '\0');
    scratch.write("oldest.bmp", oldest);
    EXPECT_EQ(readBitmap(SDL_RWFromFile(scratch.file("oldest.bmp").c_str(), "rb")), nullptr);

    // A picture header cut short by the end of the file would be read on into garbage.
    scratch.write("cut.bmp", bitmapHeaderOnly(4, 4, 24, 0).substr(0, 30));
    EXPECT_EQ(readBitmap(SDL_RWFromFile(scratch.file("cut.bmp").c_str(), "rb")), nullptr);

    scratch.write("wide.bmp", bitmapBytes(bitmapOf(16385, 1, 24)));
    EXPECT_EQ(readBitmap(SDL_RWFromFile(scratch.file("wide.bmp").c_str(), "rb")), nullptr);
    scratch.write("widest.bmp", bitmapBytes(bitmapOf(16384, 1, 24)));
    const SurfacePtr widest(readBitmap(SDL_RWFromFile(scratch.file("widest.bmp").c_str(), "rb")));
    ASSERT_NE(widest, nullptr);
    EXPECT_EQ(widest->w, 16384);
}

TEST_F(LoadImageTest, AMissingFileIsAPictureThatCannotBeLoaded)
{
    try {
        renderer.loadImage(scratch.file("nowhere.bmp").c_str());
        FAIL() << "a missing picture loaded";
    } catch (const ImageLoadError& error) {
        EXPECT_STREQ(error.what(), "zomg h4x Image failed to load or something cool like that");
        EXPECT_EQ(error.fileName, scratch.file("nowhere.bmp"));
    }
    EXPECT_EQ(nextObjectId, 41);
    EXPECT_TRUE(renderer.images.empty());
}

TEST(FindImageIndex, FindsOnlyLoadedPictures)
{
    Renderer empty = headlessRenderer();
    EXPECT_EQ(empty.findImageIndex(0), -1);

    const std::unique_ptr<Game> game = makeHeadlessGame();
    const Renderer& renderer = game->renderer;
    ASSERT_EQ(renderer.levelPicture.id, 0);
    EXPECT_EQ(renderer.findImageIndex(0), -1) << "the background is not in the table";
    EXPECT_EQ(renderer.findImageIndex(game->tiles.front().id), -1);
    EXPECT_EQ(renderer.findImageIndex(game->avatar().id), -1);
    EXPECT_EQ(renderer.findImageIndex(9999), -1);
    EXPECT_EQ(renderer.findImageIndex(-1), -1);
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
        EXPECT_STREQ(error.what(), "zomg h4x Image failed to load or something cool like that");
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
    EXPECT_EQ(errorText.back(), '\n');
    EXPECT_EQ(log.text(), normalLog) << "the game's log stays as in a normal start";
    EXPECT_EQ(game.renderer.levelPicture.texture, 0u);
    EXPECT_EQ(game.renderer.levelPicture.texRight, 0.0f);
    EXPECT_EQ(constructionIds(game), normalIds);
    EXPECT_EQ(normalIds.front(), 0);
}

} // namespace
