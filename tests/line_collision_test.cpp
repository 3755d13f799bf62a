#include "entities/Entity.h"
#include "physics/CollisionShapes.h"
#include "physics/LineCollision.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Lines 280 long: fastSqrt(280 * 280) is exactly 280, so their normals are exact unit
// vectors and the distances below come out exact.
const Vec2 kGravity{0.0f, 10.0f};

// A floor at y 200 from x 0 to 280, drawn left to right: its normal points down, so an
// entity standing on it is on the back side.
CollisionVector floorLine(uint8_t type = 3) { return CollisionVector(0, 200, 280, 0, type, 0); }

// A 64 by 64 entity (radius 32) whose box centre is at (cx, cy).
Entity boxAt(float cx, float cy, float speed, float dirX, float dirY)
{
    return Entity(speed, cx - 32.0f, cy - 32.0f, 64, 64, dirX, dirY);
}

struct Outcome {
    bool supported = false;
    bool inContact = false;
};

Outcome touch(Entity& entity, const CollisionVector& line)
{
    bool supported = false;
    collideWithLine(entity, line, kGravity, supported);
    return Outcome{supported, entity.inContact};
}

void expectUntouched(const Entity& after, const Entity& before, Outcome outcome)
{
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(after.dirX, before.dirX);
    EXPECT_EQ(after.dirY, before.dirY);
    EXPECT_EQ(after.speed, before.speed);
    EXPECT_FALSE(outcome.supported);
    EXPECT_FALSE(outcome.inContact);
}

TEST(LineCollision, AFloorCarriesAFallingEntityOneRadiusAboveIt)
{
    Entity entity = boxAt(140, 190, 100, 0.6f, 0.8f);
    const float alongLine = entity.speed * entity.dirX;
    const Outcome outcome = touch(entity, floorLine());
    EXPECT_EQ(entity.y, 136.0f); // box centre at 168, one radius above the line
    EXPECT_EQ(entity.x, 108.0f);
    EXPECT_TRUE(outcome.supported);
    EXPECT_TRUE(outcome.inContact);
    // Only the part of the velocity along the line is kept.
    EXPECT_EQ(entity.dirX, 1.0f);
    EXPECT_EQ(entity.dirY, 0.0f);
    EXPECT_FLOAT_EQ(entity.speed, alongLine);
}

// A floor drawn right to left has its normal pointing up, so an entity above it is on the
// front side, solid with bit 2.
const CollisionVector kReversedFloor(280, 200, -280, 0, 2, 0);

struct LineCase {
    const char* what;
    CollisionVector line;
    Entity entity;
    float expectedY = 136.0f; // where the box's top ends: centre one radius above the floor
};

TEST(LineCollision, TouchesWithinOneRadiusOfTheSegmentAndPushesTheEntityOut)
{
    const float hairAbove = std::nextafter(136.0f, 0.0f);
    const LineCase cases[] = {
        {"exactly one radius behind the line", floorLine(), boxAt(140, 168, 100, 0.6f, 0.8f)},
        {"exactly one radius in front", kReversedFloor, boxAt(140, 168, 100, 0.6f, 0.8f)},
        // The back side is tried first, so the centre is pushed above the floor.
        {"centre on the line", floorLine(), boxAt(140, 200, 50, 0, 1)},
        {"centre over the start point", floorLine(), boxAt(0, 190, 100, 0, 1)},
        {"centre over the end point", floorLine(), boxAt(280, 190, 100, 0, 1)},
        {"at rest, stored direction into the floor", floorLine(), boxAt(140, 190, 0, 0, 1)},
        {"falling onto a one-way platform", floorLine(1), boxAt(140, 190, 100, 0, 1)},
        // The box centre has sunk 8 units through the floor while the side point (the corner
        // plus half a radius) is still above it: seen from the side point the entity falls
        // onto the line, so the front side takes it and carries it below the line.
        {"side point above, centre below", floorLine(), boxAt(140, 208, 100, 0, 1), 200.0f},
    };
    for (const LineCase& test : cases) {
        Entity entity = test.entity;
        const Outcome outcome = touch(entity, test.line);
        EXPECT_TRUE(outcome.supported) << test.what;
        EXPECT_TRUE(outcome.inContact) << test.what;
        EXPECT_EQ(entity.y, test.expectedY) << test.what;
    }
    const LineCase untouched[] = {
        {"a hair beyond one radius behind", floorLine(),
         Entity(100, 108, hairAbove, 64, 64, 0.6f, 0.8f)},
        {"a hair beyond one radius in front", kReversedFloor,
         Entity(100, 108, hairAbove, 64, 64, 0.6f, 0.8f)},
        // Lines have no rounded ends.
        {"just before the start point", floorLine(), boxAt(-0.5f, 190, 100, 0, 1)},
        {"just past the end point", floorLine(), boxAt(280.5f, 190, 100, 0, 1)},
        {"overlapping but heading away", floorLine(), boxAt(140, 190, 100, 0, -1)},
        {"at rest, stored direction away", floorLine(), boxAt(140, 190, 0, 0, -1)},
        {"rising into a one-way platform", floorLine(1), boxAt(140, 210, 100, 0, -1)},
        {"on a zero-length line", CollisionVector(140, 200, 0, 0, 3, 0),
         boxAt(140, 200, 100, 0.6f, 0.8f)},
        {"above a zero-length line", CollisionVector(140, 200, 0, 0, 3, 0),
         boxAt(140, 190, 100, 0.6f, 0.8f)},
        {"below a zero-length line", CollisionVector(140, 200, 0, 0, 3, 0),
         boxAt(140, 210, 100, 0.6f, 0.8f)},
    };
    for (const LineCase& test : untouched) {
        SCOPED_TRACE(test.what);
        Entity entity = test.entity;
        expectUntouched(entity, test.entity, touch(entity, test.line));
    }
}

TEST(LineCollision, AWallCountsAsCarryingAndKeepsOnlyTheVerticalMotion)
{
    // A wall at x 200 drawn downward: its normal points left, towards the entity.
    const CollisionVector wall(200, 0, 0, 280, 3, 0);
    Entity falling = boxAt(190, 140, 100, 0.6f, 0.8f);
    const float down = falling.speed * falling.dirY;
    const Outcome outcome = touch(falling, wall);
    EXPECT_EQ(falling.x, 136.0f); // box centre 32 left of the wall
    EXPECT_EQ(falling.y, 108.0f);
    EXPECT_TRUE(outcome.supported);
    EXPECT_TRUE(outcome.inContact);
    EXPECT_EQ(falling.dirX, 0.0f);
    EXPECT_EQ(falling.dirY, 1.0f);
    EXPECT_FLOAT_EQ(falling.speed, down);

    // Rising into the wall: the kept part points up, so the direction along the wall flips.
    Entity rising = boxAt(190, 140, 100, 0.6f, -0.8f);
    EXPECT_TRUE(touch(rising, wall).supported);
    EXPECT_EQ(rising.dirY, -1.0f);
    EXPECT_FLOAT_EQ(rising.speed, down);
}

TEST(LineCollision, ACeilingPushesBackButLeavesTheVelocity)
{
    Entity entity = boxAt(140, 220, 100, 0.6f, -0.8f);
    Entity expected = entity;
    expected.y = 200.0f; // box centre one radius below the line
    expectUntouched(entity, expected, touch(entity, floorLine(3)));
}

// The level pass of a world holding only `lines`, for one avatar.
class LinePass : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = makeHeadlessGame();
        game->enemies().clear();
        game->chasers.clear();
        game->lines.clear();
        game->arcs.clear();
    }

    std::unique_ptr<Game> game;
};

TEST_F(LinePass, InACornerTheLinesTakeTurnsInListOrder)
{
    // The floor first lifts the box centre above the short wall below it (t < 0), so the
    // wall never touches; the other way round the wall pushes it left first.
    const CollisionVector floor = floorLine();
    const CollisionVector lowWall(200, 190, 0, 70, 3, 0);

    game->lines = {floor, lowWall};
    Entity& avatar = placeAvatar(*game, 148, 158, 100, 0.6f, 0.8f);
    game->physics.collideWithLevel(game->avatars());
    EXPECT_EQ(avatar.x, 148.0f);
    EXPECT_EQ(avatar.y, 136.0f);

    game->lines = {lowWall, floor};
    placeAvatar(*game, 148, 158, 100, 0.6f, 0.8f);
    game->physics.collideWithLevel(game->avatars());
    EXPECT_EQ(avatar.x, 136.0f);
    EXPECT_EQ(avatar.y, 136.0f);
}

TEST_F(LinePass, AnEntityRestingOnAFloorLeavesEveryStepFallingAtAboutTen)
{
    game->lines = {floorLine(1)};
    Entity& avatar = placeAvatar(*game, 108, 136, 0, 0, 1);
    for (int step = 0; step < 120; ++step) {
        game->physics.step();
        ASSERT_TRUE(avatar.inContact) << "step " << step;
        EXPECT_NEAR(avatar.y, 136.0f, 1e-3f);
        EXPECT_EQ(avatar.x, 108.0f);
        EXPECT_EQ(avatar.dirX, 0.0f);
        EXPECT_NEAR(avatar.dirY, 1.0f, 1e-5f);
        EXPECT_NEAR(avatar.speed, 10.0f, 1e-3f);
        EXPECT_LT(avatar.speed, 10.0f);
    }
}

TEST_F(LinePass, AJumpPassesUpThroughAOneWayPlatformAndLandsOnIt)
{
    game->lines = {floorLine(1)};
    Entity& avatar = placeAvatar(*game, 108, 228, 400, 0, -1); // box centre 60 below the platform
    float highest = avatar.y;
    for (int step = 0; step < 240; ++step) {
        game->physics.step();
        highest = std::min(highest, avatar.y);
    }
    EXPECT_LT(highest + 32.0f, 168.0f); // the box centre rose well above the platform
    EXPECT_TRUE(avatar.inContact);
    EXPECT_NEAR(avatar.y, 136.0f, 1e-3f);
    EXPECT_NEAR(avatar.speed, 10.0f, 1e-3f);
}

} // namespace
