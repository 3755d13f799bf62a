#include "physics/CollisionShapes.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(FastSqrt, GivesTheGamesOwnSlightlyLowRootsBitForBit)
{
    const std::pair<float, uint32_t> roots[] = {{1.0f, 0x3f7fffb8u},     // 0.9999957
                                                {4.0f, 0x3fffffb8u},     // 1.9999914
                                                {90000.0f, 0x4395fff7u}, // 299.99973
                                                {43600.0f, 0x4350ce23u}, // 208.805222
                                                {0.0f, 0u}};
    for (const auto& [x, expected] : roots) {
        const float root = fastSqrt(x);
        uint32_t bits = 0;
        std::memcpy(&bits, &root, sizeof bits);
        EXPECT_EQ(bits, expected) << x;
    }
}

TEST(CollisionVector, NormalPointsDownAndSlightlyRightForARisingSlope)
{
    const CollisionVector slope(50, 470, 200, -60, 3, 0);
    EXPECT_NEAR(slope.nx, 0.2873f, 1e-4f);
    EXPECT_NEAR(slope.ny, 0.9578f, 1e-4f);
}

TEST(Entity, ConstructionGivesTheRadiusAUnitDirectionAndTheNextId)
{
    EXPECT_EQ(Entity(0, 0, 0, 64, 64, 1, 0).radius, 32.0f);
    EXPECT_EQ(Entity(0, 0, 0, 100, 50, 1, 0).radius, 45.0f);
    EXPECT_EQ(Entity(0, 0, 0, 50, 100, 1, 0).radius, 30.0f);
    const Entity first(0, 0, 0, 64, 64, 3, 4);
    EXPECT_NEAR(first.dirX, 0.6f, 1e-5f);
    EXPECT_NEAR(first.dirY, 0.8f, 1e-5f);
    const int32_t taken = takeObjectId(); // pictures and tiles share the counter
    EXPECT_EQ(taken, first.id + 1);
    EXPECT_EQ(Entity(0, 0, 0, 64, 64, 1, 0).id, first.id + 2);
}

TEST(Entity, SpeedIsNeverNegativeAndNoNaNEverEntersTheMotion)
{
    Entity entity(0, 0, 0, 64, 64, 1, 0);
    entity.setSpeed(-120.0f);
    EXPECT_EQ(entity.speed, 120.0f);
    EXPECT_NEAR(entity.dirX, -1.0f, 1e-5f);
    entity.setSpeed(0.0f);
    EXPECT_NEAR(entity.dirX, -1.0f, 1e-5f);

    // A zero vector is never made a direction; a speed that is not a number is ignored.
    const Entity still(5, 0, 0, 64, 64, 0, 0);
    EXPECT_EQ(still.dirX, 0.0f);
    EXPECT_EQ(still.dirY, 0.0f);
    entity.setDirection(Vec2{0.0f, 0.0f});
    entity.setSpeed(std::nanf(""));
    entity.setSpeed(-INFINITY);
    EXPECT_NEAR(entity.dirX, -1.0f, 1e-5f);
    EXPECT_EQ(entity.dirY, 0.0f);
    EXPECT_EQ(entity.speed, 0.0f);
}

TEST(FindEntityById, SearchesTheListsInOrderAndFindsOnlyEntities)
{
    auto game = makeHeadlessGame();
    EntityList& third = game->entityLists[kThirdList];
    EntityList& pictures = game->levelPictures();
    pictures.push_back(std::make_unique<Entity>(0, 0, 0, 64, 64, 1, 0));
    third.push_back(std::make_unique<Entity>(0, 0, 0, 64, 64, 1, 0));
    third.back()->id = pictures.back()->id;
    EXPECT_EQ(findEntityById(pictures.back()->id, *game), third.back().get());
    EXPECT_EQ(findEntityById(game->avatar().id, *game), &game->avatar());
    EXPECT_EQ(findEntityById(game->avatar().imageIds.at(0), *game), nullptr); // a picture's id
    EXPECT_EQ(findEntityById(99999, *game), nullptr);
}

} // namespace
