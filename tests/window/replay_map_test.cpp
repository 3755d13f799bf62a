// The map of quillfen-replay: the whole world drawn offscreen by the game's renderer in
// stitched tiles, with the collision geometry over it.

#include "window/GlWindow.h"

#include "gfx/CollisionOverlay.h"
#include "gfx/WorldSnapshot.h"
#include "support/ReplayRun.h"

#include <algorithm>

namespace {

// A colour as the lowest and highest red, green and blue it may have.
struct Shade {
    Rgb low;
    Rgb high;
};
const Shade kYellow{{201, 181, 0}, {255, 255, 99}};
const Shade kGreen{{0, 201, 0}, {99, 255, 99}};
const Shade kLightBlue{{0, 131, 201}, {149, 255, 255}};
const Shade kRed{{201, 0, 0}, {255, 79, 79}};

// Whether the shade shows at (x, y) or a pixel next to it: a line two pixels wide on a whole
// coordinate covers the rows on both sides of it, and curves are rounded to pixels.
bool shadeNear(const WorldPicture& picture, int x, int y, const Shade& shade)
{
    for (int row = y - 1; row <= y + 1; ++row) {
        for (int column = x - 1; column <= x + 1; ++column) {
            const uint8_t* pixel = &picture.rgb[(static_cast<size_t>(row) * 3000 + column) * 3];
            if (pixel[0] >= shade.low.r && pixel[0] <= shade.high.r && pixel[1] >= shade.low.g &&
                pixel[1] <= shade.high.g && pixel[2] >= shade.low.b && pixel[2] <= shade.high.b) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(WindowTest, TheMapShowsTheWholeWorldWithItsGeometryInPlaceInStitchedTiles)
{
    ScratchDirectory folder;
    const std::unique_ptr<Game> world = makeWindowGame(folder.path());
    const auto overlay = [&world] { drawCollisionOverlay(*world); };
    WorldPicture picture;
    ASSERT_EQ(snapshotWorld(world->renderer, overlay, picture), "");
    ASSERT_EQ(picture.width, 3000);
    ASSERT_EQ(picture.height, 680);
    EXPECT_TRUE(shadeNear(picture, 325, 410, kYellow)) << "The floor at y 410, solid both sides.";
    EXPECT_TRUE(shadeNear(picture, 2850, 200, kYellow)) << "The last block's top, beyond 2800.";
    EXPECT_TRUE(shadeNear(picture, 700, 310, kGreen)) << "The one-way platform at y 310.";
    EXPECT_TRUE(shadeNear(picture, 1471, 431, kLightBlue)) << "The quarter pipe, solid inside.";
    EXPECT_TRUE(shadeNear(picture, 1901, 132, kRed))
        << "The first enemy's circle, left of its centre (1932, 132).";
    const uint8_t* sky = &picture.rgb[(100 * 3000 + 1000) * 3];
    EXPECT_GT(sky[0] + sky[1] + sky[2], 60) << "The background, not the clear colour.";
    EXPECT_EQ(world->renderer.screenSize.x, 640.0f) << "The view is the game's again.";

    // A tile put one pixel off would change thousands of pixels. A line cut by a tile's edge
    // may be rasterised a pixel to the side here and there, so a handful may differ.
    WorldPicture smallTiles;
    ASSERT_EQ(snapshotWorld(world->renderer, overlay, smallTiles, 300), "");
    ASSERT_EQ(smallTiles.rgb.size(), picture.rgb.size());
    size_t different = 0;
    for (size_t at = 0; at < picture.rgb.size(); at += 3) {
        different +=
            std::equal(&picture.rgb[at], &picture.rgb[at] + 3, &smallTiles.rgb[at]) ? 0 : 1;
    }
    EXPECT_LE(different, 50u);

    const std::unique_ptr<Game> headless = makeHeadlessGame(folder.path());
    EXPECT_NE(snapshotWorld(headless->renderer, {}, picture), "") << "Nothing to draw headless.";
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
    EXPECT_EQ(png.substr(12, 14), std::string("IHDR\0\0\x0b\xb8\0\0\x02\xa8\x08\x02", 14))
        << "3000 by 680, 8-bit RGB";

    const ReplayRun headless =
        runReplayTool(common + " --trace " + quoted(folder.file("headless.txt")), folder.path());
    ASSERT_EQ(headless.status, 0) << headless.errors;
    EXPECT_EQ(drawn.log, headless.log);
    EXPECT_TRUE(readWholeFile(folder.file("drawn.txt")) ==
                readWholeFile(folder.file("headless.txt")))
        << "Drawing in a window changed the game.";
}

} // namespace
