// The camera without a window: the clamp at the start of every frame and the follow box.

#include "gfx/Renderer.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

// The world's renderer as its construction leaves it: 640 by 480 view, follow box 300 by 380,
// the camera at `camera`.
Renderer gameRenderer(Vec2 camera, float worldWidth = 3000.0f, float worldHeight = 680.0f)
{
    Renderer renderer(nullptr, 640.0f, 480.0f, worldWidth, worldHeight, RenderMode::Headless);
    renderer.followBox = Vec2{300.0f, 380.0f};
    renderer.camera = camera;
    return renderer;
}

void expectCamera(const Renderer& renderer, float x, float y)
{
    EXPECT_EQ(renderer.camera.x, x);
    EXPECT_EQ(renderer.camera.y, y);
}

TEST(FollowCamera, RestsInsideTheBoxEndsIncludedAndScrollsThreeRightFourLeftThreeUpOrDown)
{
    // Camera before, avatar corner, camera after. The camera is never clamped here.
    const float cases[][6] = {
        {1000, 100, 1250, 300, 1000, 100},
        {1000, 100, 1200, 200, 1000, 100},
        {1000, 100, 1300, 480, 1000, 100},
        {1000, 100, 1301, 300, 1003, 100},
        {1000, 100, 1199, 300, 996, 100},
        {1000, 100, 1250, 199, 1000, 97},
        {1000, 100, 1250, 481, 1000, 103},
        {1000, 100, 1301, 481, 1003, 103},
        {0, 0, 10, 10, -4, -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "avatar at " << c[2] << ", " << c[3]);
        Renderer renderer = gameRenderer(Vec2{c[0], c[1]});
        renderer.followCamera(Entity(0.0f, c[2], c[3], 64.0f, 64.0f, 1.0f, 0.0f));
        expectCamera(renderer, c[4], c[5]);
    }
    // Each test sees the camera as the ones before left it: with a box narrower than the left
    // margin, x 1150 is right of the box (+3) and then left of the new margin 1203 (-4).
    Renderer narrow = gameRenderer(Vec2{1000.0f, 100.0f});
    narrow.followBox = Vec2{100.0f, 380.0f};
    narrow.followCamera(Entity(0.0f, 1150.0f, 300.0f, 64.0f, 64.0f, 1.0f, 0.0f));
    expectCamera(narrow, 999.0f, 100.0f);
}

TEST(ClampCamera, KeepsTheViewInsideTheWorldAndAWorldSmallerThanTheViewAtItsRightAndBottom)
{
    // Camera before, world size, camera after. In a small world the left clamp makes x 0 and
    // the right clamp then 500 - 640.
    const float cases[][6] = {
        {-5, -7, 3000, 680, 0, 0},         {2400, 250, 3000, 680, 2360, 200},
        {2360, 200, 3000, 680, 2360, 200}, {1234.5f, 67.25f, 3000, 680, 1234.5f, 67.25f},
        {-5, -5, 500, 400, -140, -80},     {30, 0, 500, 680, -140, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "camera at " << c[0] << ", " << c[1]);
        Renderer renderer = gameRenderer(Vec2{c[0], c[1]}, c[2], c[3]);
        renderer.clampCamera();
        expectCamera(renderer, c[4], c[5]);
    }
}

} // namespace
