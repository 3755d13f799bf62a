#include "app/FrameRateReport.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameStep, TheCameraIsClampedForTheFrameThenFollowsTheAvatar)
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
