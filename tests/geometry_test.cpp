#include "entities/Entity.h"
#include "physics/CollisionShapes.h"
#include "physics/Vec2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

uint32_t bitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(FastSqrt, GivesTheGamesOwnSlightlyLowRootsBitForBit)
{
    EXPECT_EQ(bitsOf(fastSqrt(1.0f)), 0x3f7fffb8u);
    EXPECT_EQ(bitsOf(fastSqrt(4.0f)), 0x3fffffb8u);
    EXPECT_EQ(bitsOf(fastSqrt(90000.0f)), 0x4395fff7u);
    EXPECT_EQ(bitsOf(fastSqrt(43600.0f)), 0x4350ce23u);
    EXPECT_FLOAT_EQ(fastSqrt(1.0f), 0.9999957f);
    EXPECT_FLOAT_EQ(fastSqrt(90000.0f), 299.99973f);
    EXPECT_EQ(fastSqrt(0.0f), 0.0f);
}

TEST(CollisionVector, NormalPointsDownAndSlightlyRightForARisingSlope)
{
    const CollisionVector slope(50, 470, 200, -60, 3, 0);
    EXPECT_NEAR(slope.nx, 0.2873f, 1e-4f);
    EXPECT_NEAR(slope.ny, 0.9578f, 1e-4f);
    EXPECT_EQ(slope.x + slope.dx, 250.0f);
    EXPECT_EQ(slope.y + slope.dy, 410.0f);
}

TEST(Entity, RadiusFollowsTheBoxShape)
{
    EXPECT_EQ(Entity(0, 0, 0, 64, 64, 1, 0).radius, 32.0f);
    EXPECT_EQ(Entity(0, 0, 0, 100, 50, 1, 0).radius, 45.0f);
    EXPECT_EQ(Entity(0, 0, 0, 50, 100, 1, 0).radius, 30.0f);
}

TEST(Entity, IdsAreConsecutiveAndShareTheCounter)
{
    const Entity first(0, 0, 0, 64, 64, 1, 0);
    const int32_t taken = takeObjectId();
    const Entity second(0, 0, 0, 64, 64, 1, 0);
    EXPECT_EQ(taken, first.id + 1);
    EXPECT_EQ(second.id, first.id + 2);
}

TEST(Entity, DirectionIsStoredAsAUnitVector)
{
    const Entity entity(0, 0, 0, 64, 64, 3, 4);
    EXPECT_NEAR(entity.dirX, 0.6f, 1e-5f);
    EXPECT_NEAR(entity.dirY, 0.8f, 1e-5f);
}

TEST(Entity, NegativeSpeedReversesTheDirection)
{
    Entity entity(0, 0, 0, 64, 64, 1, 0);
    entity.setSpeed(-120.0f);
    EXPECT_EQ(entity.speed, 120.0f);
    EXPECT_NEAR(entity.dirX, -1.0f, 1e-5f); // a unit vector as fastSqrt measures it
    entity.setSpeed(0.0f);
    EXPECT_EQ(entity.speed, 0.0f);
    EXPECT_NEAR(entity.dirX, -1.0f, 1e-5f);
}

TEST(Entity, AZeroVectorNeverBecomesADirection)
{
    Entity built(5, 0, 0, 64, 64, 0, 0);
    EXPECT_EQ(built.dirX, 0.0f);
    EXPECT_EQ(built.dirY, 0.0f);

    Entity moving(5, 0, 0, 64, 64, 0, 1);
    const float dirY = moving.dirY;
    moving.setDirection(Vec2{0.0f, 0.0f});
    EXPECT_EQ(moving.dirX, 0.0f);
    EXPECT_EQ(moving.dirY, dirY);
    moving.setSpeed(std::nanf(""));
    EXPECT_EQ(moving.speed, 5.0f);
    moving.setSpeed(-INFINITY);
    EXPECT_EQ(moving.speed, 5.0f);
    EXPECT_EQ(moving.dirY, dirY);
}

} // namespace
