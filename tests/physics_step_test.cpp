#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The built-in world with its enemies and chasers taken away and a plain floor at y 200 from
// x 0 to 280 as its only line; each test puts in what it needs.
class PhysicsStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        game->enemies().clear();
        game->chasers.clear();
        game->lines = {CollisionVector(0, 200, 280, 0, 3, 0)};
        game->arcs.clear();
    }

    Entity& place(EntityListIndex list, float x, float y, float speed, float dirX, float dirY)
    {
        game->entityLists[list].push_back(
            std::make_unique<Entity>(speed, x, y, 64, 64, dirX, dirY));
        if (list == kEnemyList) {
            game->chasers.push_back(Chaser{game.get(), game->enemies().back()->id});
        }
        return *game->entityLists[list].back();
    }

    std::unique_ptr<Game> game = makeHeadlessGame();
};

TEST_F(PhysicsStep, GravityPullsTheFirstSecondAndFifthListsWhileTheOthersFlyStraight)
{
    const Entity* falling[] = {&placeAvatar(*game, 500, 50, 0, 1, 0),
                               &place(kEnemyList, 1000, 50, 0, 1, 1),
                               &place(kLevelPictureList, 2000, 50, 0, 1, 0)};
    // These two would touch the floor after one step, heading into it.
    const Entity* straight[] = {&place(kThirdList, 100, 140, 120, 3, 4),
                                &place(kFourthList, 150, 140, 120, 3, 4)};
    game->physics.step();
    game->physics.step();
    for (const Entity* entity : falling) {
        EXPECT_EQ(entity->dirX, 0.0f);
        EXPECT_NEAR(entity->dirY, 1.0f, 1e-5f);
        EXPECT_LT(entity->speed, 20.0f); // as fastSqrt measures it
        EXPECT_GT(entity->speed, 19.999f);
        EXPECT_NEAR(entity->y, 50.0f + 10.0f / 60.0f, 1e-4f); // at rest when first moved
    }
    for (const Entity* entity : straight) {
        EXPECT_EQ(entity->speed, 120.0f);
        EXPECT_NEAR(entity->dirY, 0.8f, 1e-5f);
        EXPECT_FALSE(entity->inContact);
        EXPECT_NEAR(entity->y, 143.2f, 1e-3f);
    }
}

TEST_F(PhysicsStep, EntityPairsMeetInTheirFixedOrderBeforeTheFloorPutsThemBack)
{
    LogCapture log;
    const Entity& avatar = placeAvatar(*game, 108, 136, 0, 0.6f, 0.8f);
    const Entity& enemy = place(kEnemyList, 108, 100, 0, 1, 0);
    const Entity& picture = place(kLevelPictureList, 140, 110, 0, 0.28f, 0.96f);
    game->physics.step();
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (const InputEvent& event : game->inputQueue) {
        pairs.emplace_back(event.firstId, event.secondId);
    }
    const std::vector<std::pair<int32_t, int32_t>> expected{
        {avatar.id, enemy.id}, {picture.id, avatar.id}, {picture.id, enemy.id}};
    EXPECT_EQ(pairs, expected);
    // The pushes drove the avatar into the floor; the level pass, which comes after them,
    // stood it back on top.
    EXPECT_TRUE(avatar.inContact);
    EXPECT_NEAR(avatar.y, 136.0f, 1e-3f);
}

} // namespace
