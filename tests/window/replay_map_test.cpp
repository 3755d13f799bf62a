// The map of quillfen-replay: the whole world drawn offscreen by the game's renderer in
// stitched tiles, with the collision geometry over it. Needs a display (Xvfb).

#include "app/GameWindow.h"
#include "gfx/CollisionOverlay.h"
#include "gfx/WorldSnapshot.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <SDL.h>

namespace {

struct Pixel {
    int red, green, blue;
};

Pixel pixelAt(const WorldPicture& picture, int x, int y)
{
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)) * 3;
    return Pixel{picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]};
}

bool isYellow(Pixel p) { return p.red > 200 && p.green > 180 && p.blue < 100; }
bool isGreen(Pixel p) { return p.red < 100 && p.green > 200 && p.blue < 100; }
bool isLightBlue(Pixel p) { return p.red < 150 && p.green > 130 && p.blue > 200; }
bool isRed(Pixel p) { return p.red > 200 && p.green < 80 && p.blue < 80; }

// Whether the colour test holds at (x, y) or a pixel next to it: a line two pixels wide on a
// whole coordinate covers the rows on both sides of it, and curves are rounded to pixels.
template <typename Test> bool lineAt(const WorldPicture& picture, int x, int y, Test test)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (test(pixelAt(picture, x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

class WorldMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* failure = openGameWindow(SDL_INIT_VIDEO);
        ASSERT_EQ(failure, nullptr) << failure << ": " << SDL_GetError();
        resetProcessState();
        ScopedWorkingDirectory inFolder(folder.path());
        LogCapture discarded;
        world = std::make_unique<Game>(RenderMode::Window);
    }

    void TearDown() override
    {
        world.reset();
        SDL_Quit();
    }

    ScratchDirectory folder;
    std::unique_ptr<Game> world;
};

TEST_F(WorldMap, ShowsTheWholeWorldWithItsGeometryInPlace)
{
    WorldPicture picture;
    const std::string problem = snapshotWorld(
        world->renderer, [this] { drawCollisionOverlay(*world); }, picture);
    ASSERT_EQ(problem, "");
    ASSERT_EQ(picture.width, 3000);
    ASSERT_EQ(picture.height, 680);
    EXPECT_TRUE(lineAt(picture, 325, 410, isYellow)) << "The floor at y 410, solid both sides.";
    EXPECT_TRUE(lineAt(picture, 2850, 200, isYellow)) << "The last block's top, beyond 2800.";
    EXPECT_TRUE(lineAt(picture, 700, 310, isGreen)) << "The one-way platform at y 310.";
    EXPECT_TRUE(lineAt(picture, 1471, 431, isLightBlue)) << "The quarter pipe, solid inside.";
    EXPECT_TRUE(lineAt(picture, 1901, 132, isRed))
        << "The first enemy's circle, left of its centre (1932, 132).";
    // The camera, view size and viewport are the game's again.
    EXPECT_EQ(world->renderer.camera.x, 0.0f);
    EXPECT_EQ(world->renderer.screenSize.x, 640.0f);
    EXPECT_EQ(world->renderer.screenSize.y, 480.0f);
}

TEST_F(WorldMap, TheStitchedTilesAddUpToOnePicture)
{
    WorldPicture bigTiles;
    ASSERT_EQ(snapshotWorld(
                  world->renderer, [this] { drawCollisionOverlay(*world); }, bigTiles),
              "");
    WorldPicture smallTiles;
    ASSERT_EQ(snapshotWorld(
                  world->renderer, [this] { drawCollisionOverlay(*world); }, smallTiles, 300),
              "");
    ASSERT_EQ(smallTiles.width, bigTiles.width);
    ASSERT_EQ(smallTiles.height, bigTiles.height);
    // A tile put one pixel off would change thousands of pixels. A line cut by a tile's edge
    // may be rasterised a pixel to the side here and there, so a handful may differ.
    size_t different = 0;
    for (size_t at = 0; at < bigTiles.rgb.size(); at += 3) {
        const bool same = bigTiles.rgb[at] == smallTiles.rgb[at] &&
                          bigTiles.rgb[at + 1] == smallTiles.rgb[at + 1] &&
                          bigTiles.rgb[at + 2] == smallTiles.rgb[at + 2];
        different += same ? 0 : 1;
    }
    EXPECT_LE(different, 50u);
    // The background is drawn: the sky at (1000, 100) is not the black clear colour.
    const Pixel sky = pixelAt(bigTiles, 1000, 100);
    EXPECT_GT(sky.red + sky.green + sky.blue, 60);
}

TEST_F(WorldMap, AHeadlessWorldHasNothingToDraw)
{
    std::unique_ptr<Game> headless = makeHeadlessGame(folder.path());
    WorldPicture picture;
    EXPECT_NE(snapshotWorld(headless->renderer, {}, picture), "");
}

// The PNG header: signature, then IHDR with width, height, bit depth and colour type.
TEST(ReplayToolMap, WritesAPngOfTheWholeWorldAndRunsTheSameGame)
{
    ScratchDirectory folder;
    const std::string common = "--dir " + quoted(folder.path()) + " --steps 30 --input " +
                               quoted(testReplaysDir() + "/commands.txt");
    const ReplayRun drawn = runReplayTool(common + " --trace " + quoted(folder.file("drawn.txt")) +
                                              " --map " + quoted(folder.file("map.png")),
                                          folder.path());
    ASSERT_EQ(drawn.status, 0) << drawn.errors;
    const std::string png = readWholeFile(folder.file("map.png"));
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x0b\xb8\0\0\x02\xa8", 8)) << "3000 by 680";
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 2) << "RGB";

    const ReplayRun headless =
        runReplayTool(common + " --trace " + quoted(folder.file("headless.txt")), folder.path());
    ASSERT_EQ(headless.status, 0) << headless.errors;
    EXPECT_EQ(drawn.log, headless.log);
    EXPECT_TRUE(readWholeFile(folder.file("drawn.txt")) ==
                readWholeFile(folder.file("headless.txt")))
        << "Drawing in a window changed the game.";
}

} // namespace
