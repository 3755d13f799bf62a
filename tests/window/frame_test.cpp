// What the window shows, read back under Xvfb: frames of the game and the replay tool's map.

#include "app/GameWindow.h"
#include "gfx/CollisionOverlay.h"
#include "gfx/WorldSnapshot.h"
#include "support/Pictures.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <numeric>

namespace {

// The background: 8 by 6 cells, each its own colour with a blue of 7, which no picture has.
Rgb bandColour(int column, int row)
{
    return Rgb{static_cast<Uint8>(20 + 40 * row), static_cast<Uint8>(10 + 30 * column), 7};
}

// A frame read before the swap from the buffer drawn into; at() counts rows from the top.
struct Frame {
    std::vector<Uint8> pixels = std::vector<Uint8>(size_t{640} * 480 * 4);
    Rgb at(int column, int row) const
    {
        const auto offset = static_cast<size_t>(((479 - row) * 640 + column) * 4);
        return Rgb{pixels[offset], pixels[offset + 1], pixels[offset + 2]};
    }
};

Frame drawn(Renderer& renderer)
{
    Frame frame;
    renderer.drawScene();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels.data());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    SDL_GL_SwapBuffers();
    return frame;
}

// The game's window, opened once, and a world built in it in a folder with the banded
// background; the test draws only what it adds.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const char* failure = (std::atexit(SDL_Quit), openGameWindow(SDL_INIT_VIDEO));
        ASSERT_EQ(failure, nullptr) << failure << " (run under Xvfb): " << SDL_GetError();
        scratch.write("level.bmp", bitmapBytes({8, 6, 24, bandColour, 255}));
        game = builtWorld();
        game->tiles.clear();
        for (EntityList& list : game->entityLists) {
            list.clear();
        }
    }

    std::unique_ptr<Game> builtWorld() const
    {
        resetProcessState();
        ScopedWorkingDirectory inScratch(scratch.path());
        LogCapture discarded;
        return std::make_unique<Game>(RenderMode::Window);
    }

    int32_t picture(int width, int height, const Painter& paint)
    {
        const std::string name = "picture" + std::to_string(game->renderer.images.size());
        scratch.write(name, bitmapBytes({width, height, 24, paint, 255}));
        LogCapture log;
        return game->renderer.loadImage(scratch.file(name).c_str());
    }

    // An entity with these pictures on a list (a tile for list -1).
    void add(int list, float x, float y, std::vector<int32_t> ids, float width = 64.0f,
             float height = 64.0f)
    {
        if (list < 0) {
            game->tiles.push_back(Tile{90, ids.at(0), width, height, x, y, "tile"});
            return;
        }
        EntityList& entities = game->entityLists[static_cast<size_t>(list)];
        entities.push_back(std::make_unique<Entity>(0.0f, x, y, width, height, 1.0f, 0.0f));
        entities.back()->imageIds = std::move(ids);
    }

    ScratchDirectory scratch;
    std::unique_ptr<Game> game;
};

TEST_F(FrameTest, EveryPictureIsADiscOfItsOwnTexelsOverItsBox)
{
    // Each row's first opaque column in a 32 by 32 disc (the last is 31 minus it). A tall disc
    // leaves rows as loaded, opaque; a wide one is cut; a 100 by 60 fills part of its texture.
    const int disc[32] = {13, 10, 8, 7, 5, 4, 4, 3, 2, 2, 1, 1, 1, 0, 0, 0,
                          0,  0,  0, 0, 1, 1, 1, 2, 2, 3, 4, 4, 5, 7, 8, 10};
    std::map<int, std::pair<int, int>> square; // a row's first and last opaque column
    for (int row = 0; row < 32; ++row) {
        square[row] = {disc[row], 31 - disc[row]};
    }
    const std::pair<std::array<int, 5>, std::map<int, std::pair<int, int>>> shapes[] = {
        {{0, 40, 40, 32, 32}, square},
        {{-1, 40, 200, 32, 32}, square},
        {{1, 100, 40, 32, 64}, {{11, {0, 31}}, {12, {12, 19}}, {18, {2, 29}}, {45, {2, 29}}}},
        {{2, 160, 40, 64, 32}, {{0, {8, 54}}, {16, {3, 59}}, {31, {7, 55}}}},
        {{4, 240, 40, 100, 60}, {{0, {15, 84}}, {30, {4, 95}}, {59, {14, 85}}}}};
    const Frame below = drawn(game->renderer);
    for (const auto& [at, runs] : shapes) {
        add(at[0], at[1], at[2], {picture(at[3], at[4], positionColour)}, at[3], at[4]);
    }
    const Frame frame = drawn(game->renderer);
    // Each pixel shows its own texel or what lies below, nothing outside the box.
    for (const auto& [at, runs] : shapes) {
        const auto [list, x, y, width, height] = at;
        for (int row = -1; row <= height; ++row) {
            for (int column = -1; column <= width; ++column) {
                const Rgb seen = frame.at(x + column, y + row);
                const bool texel = row >= 0 && row < height && column >= 0 && column < width &&
                                   seen == positionColour(column, row);
                ASSERT_TRUE(texel || seen == below.at(x + column, y + row))
                    << "list " << list << ", texel (" << column << ", " << row << ")";
                const auto run = runs.find(row);
                EXPECT_TRUE(run == runs.end() || column < 0 || column == width ||
                            texel == (column >= run->second.first && column <= run->second.second))
                    << "list " << list << ", texel (" << column << ", " << row << ")";
            }
        }
    }
}

TEST_F(FrameTest, TheBackgroundIsStretchedOverTheWorldAndTheViewClampedToIt)
{
    Renderer& renderer = game->renderer;
    // A camera past the bottom-right corner is drawn at (2360, 200): a picture at the world's
    // right edge fills the last 64 columns. The background's 8 columns span 375 units each, its
    // 6 rows 84: it ends at 680 / 1.35, about 503.7, where the empty rows of its power-of-two
    // texture let the black clear colour show, and from y 671.6 on its top row again.
    add(0, 2936, 400, {picture(64, 64, [](int, int) { return Rgb{250, 0, 0}; })});
    renderer.camera = Vec2{2400.0f, 250.0f};
    const Frame corner = drawn(renderer);
    EXPECT_EQ(std::make_pair(renderer.camera.x, renderer.camera.y),
              std::make_pair(2360.0f, 200.0f));
    EXPECT_EQ(corner.at(575, 232), bandColour(7, 5));
    EXPECT_EQ(corner.at(576, 232), Rgb({250, 0, 0}));
    EXPECT_EQ(corner.at(40, 301), bandColour(6, 5));
    EXPECT_EQ(corner.at(40, 306), Rgb());
    EXPECT_EQ(corner.at(40, 479), bandColour(6, 0));
    renderer.levelPicture.texture = 0;
    EXPECT_EQ(drawn(renderer).at(40, 301), Rgb()) << "without a background, the clear colour";
}

TEST_F(FrameTest, LaterListsCoverEarlierOnesAndAnUnknownPictureEndsItsList)
{
    const Rgb colours[] = {{250, 0, 0},   {0, 250, 0},   {0, 0, 250},
                           {250, 250, 0}, {0, 250, 250}, {250, 0, 250}};
    std::vector<int32_t> ids;
    for (const Rgb& colour : colours) {
        ids.push_back(picture(64, 64, [colour](int, int) { return colour; }));
    }
    // All centred on (332, 232): a tile, one entity per list over it, a later one on the fifth.
    add(-1, 268, 168, {picture(32, 32, positionColour)}, 128, 128);
    const auto centre = [this] { return drawn(game->renderer).at(332, 232); };
    EXPECT_EQ(centre(), positionColour(16, 16)) << "the tile covers the background";
    for (int list = 0; list < 5; ++list) {
        add(list, 300, 200, {ids[static_cast<size_t>(list)]});
        EXPECT_EQ(centre(), colours[list]) << "list " << list + 1 << " on top";
    }
    add(4, 300, 200, {ids[5]});
    EXPECT_EQ(centre(), colours[5]) << "the later entity of the fifth list";

    // An entity without pictures is skipped and only its first picture is drawn; an unknown
    // picture (the background's too: it is not in the table) ends its list for the frame.
    const std::vector<int32_t> second[] = {{ids[0]}, {}, {ids[1], ids[0]}, {9999}, {ids[0]}};
    for (int at = 0; at < 5; ++at) {
        add(1, 100 * at + 100, 100, second[at]);
    }
    add(2, 100, 300, {ids[1]});
    add(3, 300, 300, {game->renderer.levelPicture.id});
    add(3, 400, 300, {ids[1]});
    add(-1, 500, 0, {12345}, 128, 128);
    add(-1, 500, 200, {ids[1]}, 128, 128);
    const Frame frame = drawn(game->renderer);
    const std::array<int, 2> points[] = {{132, 132}, {232, 132}, {332, 132}, {432, 132},
                                         {532, 132}, {132, 332}, {432, 332}, {564, 264}};
    const Rgb seen[] = {colours[0],       bandColour(0, 1), colours[1],       bandColour(1, 1),
                        bandColour(1, 1), colours[1],       bandColour(1, 3), bandColour(1, 3)};
    for (size_t at = 0; at < std::size(seen); ++at) {
        EXPECT_EQ(frame.at(points[at][0], points[at][1]), seen[at]) << points[at][0];
    }
}

// Whether (x, y) or a pixel next to it is within 50 of `colour` in each channel: a line two
// pixels wide on a whole coordinate covers the rows on both sides, and curves are rounded.
bool shadeNear(const WorldPicture& picture, int x, int y, Rgb colour)
{
    bool found = false;
    for (int at = 0; at < 9; ++at) {
        const uint8_t* pixel =
            &picture.rgb[static_cast<size_t>(((y + at / 3 - 1) * 3000 + x + at % 3 - 1) * 3)];
        found =
            found || (std::abs(pixel[0] - colour.r) <= 50 && std::abs(pixel[1] - colour.g) <= 50 &&
                      std::abs(pixel[2] - colour.b) <= 50);
    }
    return found;
}

TEST_F(FrameTest, TheMapShowsTheWholeWorldWithItsGeometryInPlaceInStitchedTiles)
{
    const std::unique_ptr<Game> world = builtWorld();
    const auto overlay = [&world] { drawCollisionOverlay(*world); };
    WorldPicture picture;
    ASSERT_EQ(snapshotWorld(world->renderer, overlay, picture), "");
    ASSERT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(3000, 680));
    // The enemies' pictures, loads of one file, share its texture under ids of their own.
    const std::vector<ImageRecord>& images = world->renderer.images;
    EXPECT_TRUE(images[2].texture == images[4].texture && images[2].id != images[4].id);
    // Yellow (solid both sides): the floor at y 410, the last block's top; green: the one-way
    // platform; light blue: the quarter pipe; red: the first enemy's circle; the background.
    // clang-format off
    const std::pair<std::array<int, 2>, Rgb> shades[] = {
        {{325, 410}, {255, 230, 26}}, {{2850, 200}, {255, 230, 26}}, {{700, 310}, {51, 255, 51}},
        {{1471, 431}, {115, 166, 255}}, {{1901, 132}, {255, 38, 38}},
        {{1000, 100}, bandColour(2, 1)}};
    // clang-format on
    for (const auto& [at, colour] : shades) {
        EXPECT_TRUE(shadeNear(picture, at[0], at[1], colour)) << at[0] << ", " << at[1];
    }
    // Tiles of 300 pixels give the same picture, but where a line on a tile's edge may be
    // rasterised a pixel to the side; a tile put one pixel off would change thousands.
    WorldPicture small;
    ASSERT_EQ(snapshotWorld(world->renderer, overlay, small, 300), "");
    EXPECT_LE(std::inner_product(picture.rgb.begin(), picture.rgb.end(), small.rgb.begin(),
                                 size_t{0}, std::plus<>(), std::not_equal_to<>()),
              150u);
}

// The PNG starts with its signature and a header of 3000 by 680 8-bit RGB; the game is the
// same with the map as without it.
TEST(ReplayToolMap, WritesAPngOfTheWholeWorldAndRunsTheSameGame)
{
    ScratchDirectory folder;
    const std::string run = "--dir " + quoted(folder.path()) + " --steps 30 --input " +
                            quoted(testReplaysDir() + "/commands.txt") + " --trace ";
    const ReplayRun mapped = runReplayTool(run + quoted(folder.file("map.txt")) + " --map " +
                                               quoted(folder.file("map.png")),
                                           folder.path());
    ASSERT_EQ(mapped.status, 0) << mapped.errors;
    EXPECT_EQ(readWholeFile(folder.file("map.png")).substr(0, 26),
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x0b\xb8\0\0\x02\xa8\x08\x02", 26));
    EXPECT_EQ(runReplayTool(run + quoted(folder.file("trace.txt")), folder.path()).log, mapped.log);
    EXPECT_EQ(firstTraceDifference(readWholeFile(folder.file("map.txt")),
                                   readWholeFile(folder.file("trace.txt"))),
              "");
}

} // namespace
