// The camera without a window: the clamp at the start of every frame and the follow box.

#include "gfx/Renderer.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

// The world's renderer as its construction leaves it: 640 by 480 view, follow box 300 by 380.
Renderer gameRenderer(float worldWidth = 3000.0f, float worldHeight = 680.0f)
{
    Renderer renderer(nullptr, 640.0f, 480.0f, worldWidth, worldHeight, RenderMode::Headless);
    renderer.followBox = Vec2{300.0f, 380.0f};
    return renderer;
}

Entity entityAt(float x, float y) { return Entity(0.0f, x, y, 64.0f, 64.0f, 1.0f, 0.0f); }

Vec2 followedOnce(Vec2 camera, float x, float y)
{
    Renderer renderer = gameRenderer();
    renderer.camera = camera;
    renderer.followCamera(entityAt(x, y));
    return renderer.camera;
}

void expectCamera(Vec2 camera, float x, float y)
{
    EXPECT_EQ(camera.x, x);
    EXPECT_EQ(camera.y, y);
}

TEST(FollowCamera, RestsInsideTheBoxEndsIncludedAndScrollsThreeRightFourLeftThreeUpOrDown)
{
    // Avatar corner and the camera it leaves, from a camera at (1000, 100).
    const float cases[][4] = {
        {1250, 300, 1000, 100}, {1200, 200, 1000, 100}, {1300, 480, 1000, 100},
        {1301, 300, 1003, 100}, {1199, 300, 996, 100},  {1250, 199, 1000, 97},
        {1250, 481, 1000, 103}, {1301, 481, 1003, 103},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "avatar at " << c[0] << ", " << c[1]);
        expectCamera(followedOnce(Vec2{1000.0f, 100.0f}, c[0], c[1]), c[2], c[3]);
    }
}

TEST(FollowCamera, EachTestSeesTheCameraAsTheOnesBeforeLeftIt)
{
    // With a box narrower than the left margin, x 1150 is right of the box (camera + 3) and
    // then left of the new margin 1203 (camera - 4): both moves happen in one step.
    Renderer renderer = gameRenderer();
    renderer.followBox = Vec2{100.0f, 380.0f};
    renderer.camera = Vec2{1000.0f, 100.0f};
    renderer.followCamera(entityAt(1150.0f, 300.0f));
    expectCamera(renderer.camera, 999.0f, 100.0f);
}

TEST(FollowCamera, DoesNotClampTheCamera)
{
    expectCamera(followedOnce(Vec2{0.0f, 0.0f}, 10.0f, 10.0f), -4.0f, -3.0f);
}

TEST(FollowCamera, FollowsTheAvatarOfAFreshWorld)
{
    // The avatar starts at (50, 50): left of the box and above it.
    const std::unique_ptr<Game> game = makeHeadlessGame();
    game->renderer.followCamera(game->avatar());
    expectCamera(game->renderer.camera, -4.0f, -3.0f);
    game->renderer.drawFrame();
    expectCamera(game->renderer.camera, 0.0f, 0.0f);
}

Vec2 clamped(Vec2 camera, float worldWidth = 3000.0f, float worldHeight = 680.0f)
{
    Renderer renderer = gameRenderer(worldWidth, worldHeight);
    renderer.camera = camera;
    renderer.clampCamera();
    return renderer.camera;
}

TEST(ClampCamera, KeepsTheViewInsideTheWorld)
{
    expectCamera(clamped(Vec2{-5.0f, -7.0f}), 0.0f, 0.0f);
    expectCamera(clamped(Vec2{2400.0f, 250.0f}), 2360.0f, 200.0f);
    expectCamera(clamped(Vec2{2360.0f, 200.0f}), 2360.0f, 200.0f);
    expectCamera(clamped(Vec2{1234.5f, 67.25f}), 1234.5f, 67.25f);
}

TEST(ClampCamera, AWorldSmallerThanTheViewEndsAtItsRightAndBottomEdges)
{
    // The left clamp makes x 0, the right clamp then 500 - 640.
    expectCamera(clamped(Vec2{-5.0f, -5.0f}, 500.0f, 400.0f), -140.0f, -80.0f);
    expectCamera(clamped(Vec2{30.0f, 0.0f}, 500.0f, 680.0f), -140.0f, 0.0f);
}

} // namespace
