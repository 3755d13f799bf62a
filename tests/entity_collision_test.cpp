#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

// Two lists of entities bounced off each other by the world's physics; events go to its queue.
class EntityCollision : public ::testing::Test {
protected:
    void SetUp() override { game = makeHeadlessGame(); }

    static Entity& add(EntityList& list, float x, float y, float size, float dirX, float dirY)
    {
        list.push_back(std::make_unique<Entity>(0.0f, x, y, size, size, dirX, dirY));
        return *list.back();
    }

    void collide() { game->physics.collideEntities(first, second); }

    std::unique_ptr<Game> game;
    EntityList first;
    EntityList second;
};

TEST_F(EntityCollision, TheWorkedExampleBouncesLogsAndQueuesOneEvent)
{
    Entity& a = add(first, 0, 0, 60, 0.6f, 0.8f); // radius 30
    Entity& b = add(second, -50, 0, 60, 1, 0);
    LogCapture log;
    collide();
    EXPECT_EQ(log.text(), "Collision Occured\nMagnitude of Collision: 49.9998\n");
    EXPECT_NEAR(a.x, 5.0f, 1e-3f); // the two circles just touch
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_NEAR(b.x, -55.0f, 1e-3f);
    EXPECT_EQ(b.y, 0.0f);
    EXPECT_NEAR(a.dirX, -0.6f, 1e-5f);
    EXPECT_NEAR(a.dirY, 0.8f, 1e-5f);
    EXPECT_NEAR(b.dirX, -1.0f, 1e-5f);
    EXPECT_EQ(b.dirY, 0.0f);
    EXPECT_EQ(a.speed, 0.0f);

    ASSERT_EQ(game->inputQueue.size(), 1u);
    const InputEvent& event = game->inputQueue[0];
    EXPECT_EQ(event.kind, kEntityCollision);
    EXPECT_EQ(event.sdlEvent.key.keysym.sym, SDLK_d);
    EXPECT_EQ(event.firstId, a.id);
    EXPECT_EQ(event.secondId, b.id);
    EXPECT_EQ(event.world, game.get());
}

TEST_F(EntityCollision, CirclesOverlapUpToTheSumOfTheRadiiAsFastSqrtMeasuresIt)
{
    Entity& touching = add(first, 0, 0, 64, 0.6f, 0.8f); // radius 32
    add(second, 64, 0, 64, 1, 0);
    LogCapture log;
    collide();
    EXPECT_EQ(log.text(), "Collision Occured\nMagnitude of Collision: 63.9997\n");
    EXPECT_NEAR(touching.x, -0.00014f, 1e-4f); // pushed apart by the rounding only

    game->inputQueue.clear();
    log.clear();
    first.clear();
    second.clear();
    Entity& apart = add(first, 0, 0, 64, 0.6f, 0.8f);
    add(second, 64.01f, 0, 64, 1, 0);
    collide();
    EXPECT_EQ(log.text(), "");
    EXPECT_TRUE(game->inputQueue.empty());
    EXPECT_EQ(apart.x, 0.0f);
}

TEST_F(EntityCollision, EqualMagnitudesOfEitherComponentNeverCollide)
{
    const struct {
        Vec2 a;
        Vec2 b;
    } pairs[] = {
        {{1, 0}, {-1, 0}},             // head on, both horizontal
        {{0, 1}, {0, -1}},             // both vertical (dirX 0 for both)
        {{0.6f, 0.8f}, {-0.6f, 0.8f}}, // mirrored
        {{1, 1}, {1, 1}},              // the built-in enemies at rest
    };
    LogCapture log;
    for (const auto& pair : pairs) {
        first.clear();
        second.clear();
        Entity& a = add(first, 0, 0, 64, pair.a.x, pair.a.y);
        add(second, 10, 0, 64, pair.b.x, pair.b.y);
        collide();
        EXPECT_EQ(a.x, 0.0f);
    }
    EXPECT_EQ(log.text(), "");
    EXPECT_TRUE(game->inputQueue.empty());
}

TEST_F(EntityCollision, AMovedEntityMeetsTheRestOfTheOtherListFromItsNewPlace)
{
    Entity& a = add(first, 0, 0, 60, 0.6f, 0.8f);
    add(second, -50, 0, 60, 1, 0);
    add(second, -58, 10, 60, 1, 0); // 58.9 from a's old place, 63.8 from its new one
    LogCapture log;
    collide();
    EXPECT_EQ(game->inputQueue.size(), 1u);
    EXPECT_NEAR(a.x, 5.0f, 1e-3f);
}

TEST_F(EntityCollision, EntitiesOnTheSameSpotCollideButStayPut)
{
    Entity& a = add(first, 10, 10, 64, 0.6f, 0.8f);
    Entity& b = add(second, 10, 10, 64, 1, 0);
    const Entity aBefore = a;
    const Entity bBefore = b;
    LogCapture log;
    collide();
    EXPECT_EQ(log.text(), "Collision Occured\nMagnitude of Collision: 0\n");
    ASSERT_EQ(game->inputQueue.size(), 1u);
    EXPECT_EQ(game->inputQueue[0].firstId, a.id);
    for (const auto& [after, before] :
         {std::make_pair(&a, &aBefore), std::make_pair(&b, &bBefore)}) {
        EXPECT_EQ(std::make_tuple(after->x, after->y, after->dirX, after->dirY),
                  std::make_tuple(before->x, before->y, before->dirX, before->dirY));
    }
}

TEST_F(EntityCollision, AnEntityWithNoDirectionKeepsNoneWhenMirrored)
{
    Entity& still = add(first, 0, 0, 60, 0, 0);
    Entity& moving = add(second, -50, 0, 60, 0.6f, 0.8f);
    LogCapture log;
    collide();
    ASSERT_EQ(game->inputQueue.size(), 1u);
    EXPECT_EQ(still.dirX, 0.0f);
    EXPECT_EQ(still.dirY, 0.0f);
    EXPECT_NEAR(still.x, 5.0f, 1e-3f); // separated all the same
    EXPECT_NEAR(moving.dirX, -0.6f, 1e-5f);
    EXPECT_NEAR(moving.dirY, 0.8f, 1e-5f);
}

} // namespace
