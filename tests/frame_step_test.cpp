#include "app/FrameRateReport.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameStep, BringsANewEnemyWithItsChaserWhenNoneIsLeft)
{
    const auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir()); // the spawn loads its picture from there
    LogCapture log;
    game->enemies().clear();
    game->chasers.clear();
    const int32_t expectedId = nextObjectId;
    ASSERT_TRUE(game->frameStep());
    ASSERT_EQ(game->enemies().size(), 1u);
    const Entity& spawned = *game->enemies()[0];
    EXPECT_EQ(spawned.id, expectedId);
    EXPECT_EQ(spawned.imageIds, std::vector<int32_t>{expectedId + 1});
    EXPECT_EQ(spawned.x, 1900.0f);
    EXPECT_EQ(spawned.y, 100.0f);
    EXPECT_EQ(spawned.speed, 0.0f);
    ASSERT_EQ(game->chasers.size(), 1u);
    EXPECT_EQ(game->chasers[0].entityId, expectedId);
    EXPECT_EQ(game->renderer.findImageIndex(expectedId + 1), 6);

    // It waits for the next step to move: then the ledge under the spawn point (y 160) lifts
    // it to stand one radius above it.
    ASSERT_TRUE(game->frameStep());
    EXPECT_NEAR(game->enemies()[0]->y, 96.0f, 1e-3f);
    EXPECT_EQ(game->enemies().size(), 1u);
}

TEST(FrameStep, TheCameraFollowsTheAvatarAfterTheFrameIsDrawn)
{
    const auto game = makeHeadlessGame();
    LogCapture log;
    game->avatar().x = 1000.0f;
    game->renderer.camera = Vec2{-50.0f, 0.0f};
    ASSERT_TRUE(game->frameStep());
    // Clamped to 0 for the frame, then nudged right by 3 towards the avatar.
    EXPECT_EQ(game->renderer.camera.x, 3.0f);
}

TEST(FrameRateReport, WritesFramesSecondsAndRateInTheStreamsDefaultFormat)
{
    EXPECT_EQ(frameRateLine(312, 5000), "312 frames in 5 seconds = 62.4 FPS\n");
    EXPECT_EQ(frameRateLine(300, 5003), "300 frames in 5.003 seconds = 59.964 FPS\n");
}

} // namespace
