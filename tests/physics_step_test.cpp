#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The built-in world with its enemies and chasers taken away; each test puts in what it needs.
class PhysicsStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = makeHeadlessGame();
        game->enemies().clear();
        game->chasers.clear();
    }

    Entity& place(EntityListIndex list, float x, float y, float speed, float dirX, float dirY)
    {
        game->entityLists[list].push_back(
            std::make_unique<Entity>(speed, x, y, 64, 64, dirX, dirY));
        return *game->entityLists[list].back();
    }

    std::unique_ptr<Game> game;
};

TEST_F(PhysicsStep, TheThirdAndFourthListsFlyStraightThroughTheFloor)
{
    // Both start just above the built-in floor at y 479 and pass right through it.
    Entity& third = place(kThirdList, 100, 440, 120, 3, 4);
    Entity& fourth = place(kFourthList, 300, 440, 120, 3, 4);
    const Entity thirdStart = third;
    for (int step = 0; step < 60; ++step) {
        game->physics.step();
    }
    for (const Entity* entity : {&third, &fourth}) {
        EXPECT_EQ(entity->speed, 120.0f);
        EXPECT_EQ(entity->dirX, thirdStart.dirX);
        EXPECT_EQ(entity->dirY, thirdStart.dirY);
        EXPECT_FALSE(entity->inContact);
    }
    EXPECT_NEAR(third.x, 172.0f, 0.01f);
    EXPECT_NEAR(third.y, 536.0f, 0.01f);
    EXPECT_NEAR(fourth.x, 372.0f, 0.01f);
    EXPECT_NEAR(fourth.y, 536.0f, 0.01f);
}

TEST_F(PhysicsStep, WithNoShapesGravityAddsTenPerStepAsFastSqrtMeasuresIt)
{
    game->lines.clear();
    game->arcs.clear();
    Entity& avatar = placeAvatar(*game, 50, 50, 0, 1, 0);
    Entity& enemy = place(kEnemyList, 1000, 50, 0, 1, 1);
    game->chasers.push_back(Chaser{game.get(), enemy.id});
    Entity& picture = place(kLevelPictureList, 2000, 50, 0, 1, 0);

    game->physics.step();
    for (const Entity* entity : {&avatar, &enemy, &picture}) {
        EXPECT_EQ(entity->dirX, 0.0f);
        EXPECT_NEAR(entity->dirY, 1.0f, 1e-5f);
        EXPECT_LT(entity->speed, 10.0f);
        EXPECT_GT(entity->speed, 9.999f);
        EXPECT_EQ(entity->y, 50.0f); // it was at rest when the step moved it
    }
    game->physics.step();
    for (const Entity* entity : {&avatar, &enemy, &picture}) {
        EXPECT_LT(entity->speed, 20.0f);
        EXPECT_GT(entity->speed, 19.999f);
        EXPECT_NEAR(entity->y, 50.0f + 10.0f / 60.0f, 1e-4f);
    }
}

TEST_F(PhysicsStep, AnEntityCarriedByALineIsNotTriedAgainstArcs)
{
    game->lines = {CollisionVector(0, 200, 280, 0, 3, 0)};
    // A wide attraction ring around a point above the avatar's corner.
    CollisionArc ring;
    ring.x = 140;
    ring.y = 100;
    ring.radius = 5;
    ring.quadrant = 15;
    ring.flag = 16;
    ring.minSpeed = -1;
    ring.distance = 1000;
    game->arcs = {ring};

    Entity& avatar = placeAvatar(*game, 108, 136, 0, 0, 1); // standing on the floor
    game->physics.collideWithLevel(game->avatars());
    EXPECT_TRUE(avatar.inContact);
    EXPECT_NEAR(avatar.speed, 10.0f, 1e-3f); // gravity, not the ring
    EXPECT_NEAR(avatar.dirY, 1.0f, 1e-5f);

    // Without the floor the same ring holds it and pulls it up towards its centre.
    game->lines.clear();
    placeAvatar(*game, 108, 136, 0, 0, 1);
    game->physics.collideWithLevel(game->avatars());
    EXPECT_FALSE(avatar.inContact);
    EXPECT_NEAR(avatar.speed, 38.27f, 0.01f);
    EXPECT_LT(avatar.dirY, -0.7f);
}

TEST_F(PhysicsStep, EntityPairsMeetInTheirFixedOrderBeforeTheFloorPutsThemBack)
{
    LogCapture log;
    game->lines = {CollisionVector(0, 200, 280, 0, 3, 0)};
    game->arcs.clear();
    Entity& avatar = placeAvatar(*game, 108, 136, 0, 0.6f, 0.8f);
    Entity& enemy = place(kEnemyList, 108, 100, 0, 1, 0);
    game->chasers.push_back(Chaser{game.get(), enemy.id});
    Entity& picture = place(kLevelPictureList, 140, 110, 0, 0.28f, 0.96f);

    game->physics.step();
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (const InputEvent& event : game->inputQueue) {
        EXPECT_EQ(event.kind, kEntityCollision);
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
