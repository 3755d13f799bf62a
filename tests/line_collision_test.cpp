#include "physics/LineCollision.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Lines 280 long: fastSqrt(280 * 280) is exactly 280, so their normals are exact unit
// vectors and the distances below come out exact. The floor at y 200 is drawn left to right:
// its normal points down, so an entity standing on it is on the back side, the one solid side
// of the one-way platform. Drawn right to left, the entity above is on the front side. The
// wall at x 200 is drawn downward: its normal points left, towards the entities before it.
const CollisionVector kFloor(0, 200, 280, 0, 3, 0);
const CollisionVector kReversed(280, 200, -280, 0, 2, 0);
const CollisionVector kWall(200, 0, 0, 280, 3, 0);
const CollisionVector kPlatform(0, 200, 280, 0, 1, 0);
const CollisionVector kPoint(140, 200, 0, 0, 3, 0);

TEST(LineCollision, PushesOutToOneRadiusAndCarriesOnlyWhileGravityPressesIn)
{
    // 64 by 64 entities (radius 32); corners before and after, velocity after.
    const float hair = std::nextafter(136.0f, 0.0f);
    const struct {
        const char* what;
        const CollisionVector& line;
        float x, y, speed, dirX, dirY;
        float endX, endY, vx, vy;
        bool carried;
    } cases[] = {
        {"one radius behind", kFloor, 108, 136, 100, 0.6f, 0.8f, 108, 136, 60, 0, true},
        {"one radius in front", kReversed, 108, 136, 100, 0.6f, 0.8f, 108, 136, 60, 0, true},
        {"centre on the line: back first", kFloor, 108, 168, 50, 0, 1, 108, 136, 0, 0, true},
        {"over the start point", kFloor, -32, 158, 100, 0, 1, -32, 136, 0, 0, true},
        {"over the end point", kFloor, 248, 158, 100, 0, 1, 248, 136, 0, 0, true},
        // The box centre has sunk 8 units through the floor while the side point (the corner
        // plus half a radius) is still above it: seen from the side point the entity falls
        // onto the line, so the front side takes it and carries it below the line.
        {"side point above, centre below", kFloor, 108, 176, 100, 0, 1, 108, 200, 0, 0, true},
        {"onto a one-way platform", kPlatform, 108, 158, 100, 0, 1, 108, 136, 0, 0, true},
        {"down a wall", kWall, 158, 108, 100, 0.6f, 0.8f, 136, 108, 0, 80, true},
        {"a ceiling pushes back only", kFloor, 108, 188, 100, 0.6f, -0.8f, 108, 200, 60, -80,
         false},
        {"a hair beyond behind", kFloor, 108, hair, 100, 0.6f, 0.8f, 108, hair, 60, 80, false},
        {"a hair beyond in front", kReversed, 108, hair, 100, 0.6f, 0.8f, 108, hair, 60, 80, false},
        {"just before the start point", kFloor, -32.5f, 158, 100, 0, 1, -32.5f, 158, 0, 100, false},
        {"just past the end point", kFloor, 248.5f, 158, 100, 0, 1, 248.5f, 158, 0, 100, false},
        {"overlapping, heading away", kFloor, 108, 158, 100, 0, -1, 108, 158, 0, -100, false},
        {"up through a one-way platform", kPlatform, 108, 178, 100, 0, -1, 108, 178, 0, -100,
         false},
        {"a line of no length", kPoint, 108, 168, 100, 0.6f, 0.8f, 108, 168, 60, 80, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        Entity entity(test.speed, test.x, test.y, 64, 64, test.dirX, test.dirY);
        bool supported = false;
        collideWithLine(entity, test.line, Vec2{0.0f, 10.0f}, supported);
        EXPECT_EQ(supported, test.carried);
        EXPECT_EQ(entity.inContact, test.carried);
        EXPECT_EQ(entity.x, test.endX);
        EXPECT_EQ(entity.y, test.endY);
        EXPECT_NEAR(entity.velocity().x, test.vx, 1e-3f);
        EXPECT_NEAR(entity.velocity().y, test.vy, 1e-3f);
    }
}

TEST(LinePass, InACornerTheLinesTakeTurnsInListOrder)
{
    // The floor first lifts the box centre above the short wall below it (t < 0), so the
    // wall never touches; the other way round the wall pushes it left first.
    const auto game = makeHeadlessGame();
    game->arcs.clear();
    const CollisionVector lowWall(200, 190, 0, 70, 3, 0);
    for (const bool wallFirst : {false, true}) {
        game->lines = {wallFirst ? lowWall : kFloor, wallFirst ? kFloor : lowWall};
        const Entity& avatar = placeAvatar(*game, 148, 158, 100, 0.6f, 0.8f);
        game->physics.collideWithLevel(game->avatars());
        EXPECT_EQ(avatar.x, wallFirst ? 136.0f : 148.0f);
        EXPECT_EQ(avatar.y, 136.0f);
    }
}

} // namespace
