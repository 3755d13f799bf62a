// Drawn frames read back from the window: the stretched background, the tile's disc, entity
// quads, the stacking of the lists, the camera clamp, and lists that end early.

#include "window/GlWindow.h"

#include "gfx/Image.h"

#include <filesystem>

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kRed{250, 0, 0};
const Rgb kGreen{0, 250, 0};

// The background: 8 columns and 6 rows, a colour of its own in every cell. No picture of the
// tests below has a blue value of 7.
Rgb bandColour(int column, int row)
{
    return Rgb{static_cast<Uint8>(20 + 40 * row), static_cast<Uint8>(10 + 30 * column), 7};
}

// A scratch folder with the banded background and a tile painted with positionColour.
class FrameTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        writeBitmap("level.bmp", 8, 6, bandColour);
        writeBitmap("tile.bmp", 128, 128, positionColour);
    }

    void writeBitmap(const std::string& name, int width, int height, const Painter& paint) const
    {
        BitmapLayout layout = bitmapOf(width, height, 24);
        layout.paint = paint;
        scratch.write(name, bitmapBytes(layout));
    }

    // A world in the scratch folder with nothing on it but the background.
    std::unique_ptr<Game> makeEmptyGame() const
    {
        std::unique_ptr<Game> game = makeWindowGame(scratch.path());
        clearDrawnLists(*game);
        return game;
    }

    // Loads a 64x64 picture; returns its id.
    int32_t picture(Game& game, const std::string& name, const Painter& paint) const
    {
        writeBitmap(name, 64, 64, paint);
        LogCapture log;
        return game.renderer.loadImage(scratch.file(name).c_str());
    }

    ScratchDirectory scratch;
};

Painter solid(Rgb colour)
{
    return [colour](int, int) { return colour; };
}

Entity& addEntity(Game& game, int list, float x, float y, std::vector<int32_t> pictureIds)
{
    EntityList& entities = game.entityLists[static_cast<size_t>(list)];
    entities.push_back(std::make_unique<Entity>(0.0f, x, y, 64.0f, 64.0f, 1.0f, 0.0f));
    entities.back()->imageIds = std::move(pictureIds);
    return *entities.back();
}

TEST_F(FrameTest, TheBackgroundIsStretchedOverTheWorldAndTheViewClampedToItEvenANarrowOne)
{
    const std::unique_ptr<Game> game = makeEmptyGame();
    Renderer& renderer = game->renderer;

    // Each of the 8 columns spans 375 units of the 3000-wide world; each of the 6 rows about
    // 84 units, so the picture ends at 680 / 1.35, about 503.7.
    const Frame top = Frame::drawnBy(renderer);
    EXPECT_EQ(top.at(0, 0), bandColour(0, 0));
    EXPECT_EQ(top.at(372, 333), bandColour(0, 3));
    EXPECT_EQ(top.at(378, 338), bandColour(1, 4));

    // A camera past the bottom-right corner is drawn at (2360, 200). Below the picture's last
    // row the quad samples the empty, transparent rows of the power-of-two texture, so the
    // black clear colour shows, and from about y 671.6 on the texture again from its top row.
    renderer.camera = Vec2{2400.0f, 250.0f};
    const Frame corner = Frame::drawnBy(renderer);
    EXPECT_EQ(renderer.camera.x, 2360.0f);
    EXPECT_EQ(renderer.camera.y, 200.0f);
    EXPECT_EQ(worldPixel(corner, renderer, 2999, 200), bandColour(7, 2));
    EXPECT_EQ(worldPixel(corner, renderer, 2400, 501), bandColour(6, 5));
    EXPECT_EQ(worldPixel(corner, renderer, 2400, 506), kBlack);
    EXPECT_EQ(worldPixel(corner, renderer, 2400, 669), kBlack);
    EXPECT_EQ(worldPixel(corner, renderer, 2400, 679), bandColour(6, 0));

    // A world narrower than the screen leaves empty space on the left: x is 0 first, then
    // 500 - 640; the background now spans the 500 units, 62.5 per column.
    renderer.worldSize = Vec2{500.0f, 680.0f};
    renderer.camera = Vec2{30.0f, 0.0f};
    const Frame narrow = Frame::drawnBy(renderer);
    EXPECT_EQ(renderer.camera.x, -140.0f);
    EXPECT_EQ(narrow.at(139, 479), kBlack);
    EXPECT_EQ(narrow.at(140 + 61, 10), bandColour(0, 0));
    EXPECT_EQ(narrow.at(140 + 64, 10), bandColour(1, 0));
    EXPECT_EQ(narrow.at(639, 10), bandColour(7, 0));
}

TEST_F(FrameTest, WithoutABackgroundTheClearColourShows)
{
    std::filesystem::remove(scratch.file("level.bmp"));
    ErrorCapture errors;
    const std::unique_ptr<Game> game = makeEmptyGame();
    EXPECT_NE(errors.text().find("level.bmp"), std::string::npos);
    addEntity(*game, 0, 300.0f, 200.0f, {picture(*game, "red.bmp", solid(kRed))});

    const Frame frame = Frame::drawnBy(game->renderer);
    EXPECT_EQ(frame.at(639, 479), kBlack);
    EXPECT_EQ(frame.at(300, 200), kBlack) << "a transparent corner of the disc";
    EXPECT_EQ(frame.at(332, 232), kRed);
}

// Compares the drawn box of a picture painted with positionColour, and a margin of two pixels
// around it, against its disc mask: opaque texels show their own colour at their own place,
// transparent ones what lay below. Pixels off the screen are skipped.
void expectPictureAt(const Frame& drawn, const Frame& below, int left, int top, int size)
{
    LogCapture log;
    SurfacePtr disc(toRgbaSurface(makeRgbSurface(size, size, positionColour).release()));
    applyDiscMask(disc.get());
    int opaque = 0;
    for (int row = -2; row < size + 2; ++row) {
        for (int column = -2; column < size + 2; ++column) {
            if (left + column < 0 || top + row < 0) {
                continue;
            }
            const bool inside = row >= 0 && row < size && column >= 0 && column < size;
            const bool covered = inside && alphaAt(disc.get(), column, row) == 255;
            const Rgb expected =
                covered ? positionColour(column, row) : below.at(left + column, top + row);
            opaque += covered ? 1 : 0;
            ASSERT_EQ(drawn.at(left + column, top + row), expected)
                << "texel (" << column << ", " << row << ")";
        }
    }
    EXPECT_GT(opaque, size * size * 3 / 4);
}

TEST_F(FrameTest, TheTileIsADiscAtTheOriginAndEntitiesCoverTheirBoxesWithTheWholePicture)
{
    const std::unique_ptr<Game> game = makeWindowGame(scratch.path());
    ASSERT_EQ(game->tiles.size(), 1u);
    const std::vector<Tile> tiles = game->tiles;
    clearDrawnLists(*game);
    const Frame below = Frame::drawnBy(game->renderer);

    game->tiles = tiles;
    addEntity(*game, 0, 200.0f, 50.0f, {picture(*game, "painted.bmp", positionColour)});
    Entity& wide = addEntity(*game, 0, 100.0f, 300.0f, {picture(*game, "red.bmp", solid(kRed))});
    wide.width = 256.0f;
    wide.height = 128.0f;
    const Frame drawn = Frame::drawnBy(game->renderer);
    expectPictureAt(drawn, below, 0, 0, 128);
    // World (200, 50) to (264, 114): texel (0, 0) at (200, 50), nothing outside the box.
    expectPictureAt(drawn, below, 200, 50, 64);
    // A 64x64 picture stretched over a 256 by 128 box.
    for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{
             {101, 364}, {354, 364}, {228, 301}, {228, 426}}) {
        EXPECT_EQ(drawn.at(x, y), kRed) << x << ", " << y;
    }
    EXPECT_NE(drawn.at(357, 364), kRed);
    EXPECT_NE(drawn.at(228, 429), kRed);
}

TEST_F(FrameTest, LaterListsAndLaterEntitiesCoverEarlierOnes)
{
    const std::unique_ptr<Game> game = makeEmptyGame();
    const std::vector<Rgb> colours = {kRed,          kGreen,        {0, 0, 250},
                                      {250, 250, 0}, {0, 250, 250}, {250, 0, 250}};
    std::vector<int32_t> pictures;
    for (size_t index = 0; index < colours.size(); ++index) {
        pictures.push_back(
            picture(*game, "colour" + std::to_string(index) + ".bmp", solid(colours[index])));
    }
    // Everything centred on (332, 232): the tile below, then one entity per list on top.
    Renderer& renderer = game->renderer;
    game->tiles.push_back(
        Tile{90, renderer.images.front().id, 128.0f, 128.0f, 268.0f, 168.0f, "tile.bmp"});
    const auto centre = [&] { return Frame::drawnBy(renderer).at(332, 232); };
    EXPECT_EQ(centre(), positionColour(64, 64)) << "the tile covers the background";
    for (int list = 0; list < kEntityListCount; ++list) {
        addEntity(*game, list, 300.0f, 200.0f, {pictures[static_cast<size_t>(list)]});
        EXPECT_EQ(centre(), colours[static_cast<size_t>(list)]) << "list " << list + 1 << " on top";
    }
    addEntity(*game, 2, 300.0f, 200.0f, {pictures[5]});
    game->entityLists[3].clear();
    game->entityLists[4].clear();
    EXPECT_EQ(centre(), colours[5]) << "the later entity of the third list";
}

TEST_F(FrameTest, AnEntityWithoutPicturesIsSkippedButAnUnknownPictureEndsItsListForTheFrame)
{
    const std::unique_ptr<Game> game = makeEmptyGame();
    const int32_t red = picture(*game, "red.bmp", solid(kRed));
    const int32_t green = picture(*game, "green.bmp", solid(kGreen));
    addEntity(*game, 1, 100.0f, 100.0f, {red});
    addEntity(*game, 1, 200.0f, 100.0f, {});
    addEntity(*game, 1, 300.0f, 100.0f, {green, red});
    addEntity(*game, 1, 400.0f, 100.0f, {9999});
    addEntity(*game, 1, 500.0f, 100.0f, {red});
    addEntity(*game, 2, 100.0f, 300.0f, {green});
    // The background is not in the table either.
    addEntity(*game, 3, 300.0f, 300.0f, {game->renderer.levelPicture.id});
    addEntity(*game, 3, 400.0f, 300.0f, {green});
    // Tiles stop the same way.
    const int32_t tilePicture = game->renderer.images.front().id;
    game->tiles.push_back(Tile{90, 12345, 128.0f, 128.0f, 500.0f, 0.0f, "tile.bmp"});
    game->tiles.push_back(Tile{91, tilePicture, 128.0f, 128.0f, 500.0f, 200.0f, "tile.bmp"});

    const Frame frame = Frame::drawnBy(game->renderer);
    EXPECT_EQ(frame.at(132, 132), kRed);
    EXPECT_EQ(frame.at(232, 132), bandColour(0, 1)) << "no picture: skipped";
    EXPECT_EQ(frame.at(332, 132), kGreen) << "only the first picture is drawn";
    EXPECT_EQ(frame.at(432, 132), bandColour(1, 1)) << "unknown picture";
    EXPECT_EQ(frame.at(532, 132), bandColour(1, 1)) << "the entity after the unknown picture";
    EXPECT_EQ(frame.at(132, 332), kGreen) << "the next list is drawn";
    EXPECT_EQ(frame.at(432, 332), bandColour(1, 3)) << "after the background's id";
    EXPECT_EQ(frame.at(564, 264), bandColour(1, 3)) << "the tile after the unknown picture";

    EXPECT_EQ(game->entityLists[1].size(), 5u) << "Drawing removes nothing.";
}

} // namespace
