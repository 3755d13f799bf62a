#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

// Two lists of entities bounced off each other by the world's physics; events go to its queue.
class EntityCollision : public ::testing::Test {
protected:
    static Entity& add(EntityList& list, float x, float y, float size, float dirX, float dirY)
    {
        list.push_back(std::make_unique<Entity>(0.0f, x, y, size, size, dirX, dirY));
        return *list.back();
    }

    void collide() { game->physics.collideEntities(first, second); }

    std::unique_ptr<Game> game = makeHeadlessGame();
    EntityList first;
    EntityList second;
    LogCapture log;
};

TEST_F(EntityCollision, TheWorkedExampleBouncesLogsAndQueuesOneEvent)
{
    const Entity& a = add(first, 0, 0, 60, 0.6f, 0.8f); // radius 30
    const Entity& b = add(second, -50, 0, 60, 1, 0);
    // 58.9 from a's old place but 63.8 from its new one: a meets it from where it was pushed.
    add(second, -58, 10, 60, 1, 0);
    collide();
    EXPECT_EQ(log.text(), "Collision Occured\nMagnitude of Collision: 49.9998\n");
    EXPECT_NEAR(a.x, 5.0f, 1e-3f); // the two circles just touch
    EXPECT_NEAR(b.x, -55.0f, 1e-3f);
    EXPECT_NEAR(a.dirX, -0.6f, 1e-5f);
    EXPECT_NEAR(a.dirY, 0.8f, 1e-5f);
    EXPECT_NEAR(b.dirX, -1.0f, 1e-5f);
    EXPECT_EQ(b.dirY, 0.0f);

    ASSERT_EQ(game->inputQueue.size(), 1u);
    const InputEvent& event = game->inputQueue[0];
    EXPECT_EQ(event.kind, kEntityCollision);
    EXPECT_EQ(event.sdlEvent.key.keysym.sym, SDLK_d);
    EXPECT_EQ(event.firstId, a.id);
    EXPECT_EQ(event.secondId, b.id);
    EXPECT_EQ(event.world, game.get());
}

TEST_F(EntityCollision, CirclesMeetWithinTheSumOfTheRadiiUnlessADirectionComponentMatches)
{
    const struct {
        const char* what;
        float bx;
        Vec2 aDir, bDir;
        bool collides;
    } cases[] = {
        {"64 apart: fastSqrt measures 63.9997", 64, {0.6f, 0.8f}, {1, 0}, true},
        {"64.01 apart", 64.01f, {0.6f, 0.8f}, {1, 0}, false},
        {"head on, both horizontal", 10, {1, 0}, {-1, 0}, false},
        {"both vertical", 10, {0, 1}, {0, -1}, false},
        {"mirrored", 10, {0.6f, 0.8f}, {-0.6f, 0.8f}, false},
        {"the built-in enemies at rest", 10, {1, 1}, {1, 1}, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        first.clear();
        second.clear();
        game->inputQueue.clear();
        log.clear();
        const Entity& a = add(first, 0, 0, 64, test.aDir.x, test.aDir.y);
        add(second, test.bx, 0, 64, test.bDir.x, test.bDir.y);
        collide();
        EXPECT_EQ(log.text(),
                  test.collides ? "Collision Occured\nMagnitude of Collision: 63.9997\n" : "");
        EXPECT_EQ(game->inputQueue.size(), test.collides ? 1u : 0u);
        EXPECT_EQ(a.x == 0.0f, !test.collides); // only a collision moves it
    }
}

TEST_F(EntityCollision, NoNaNEntersFromASharedSpotOrAMissingDirection)
{
    // On the same spot there is no line of contact: the pair collides but stays put.
    const Entity& a = add(first, 10, 10, 64, 0.6f, 0.8f);
    const Entity& b = add(second, 10, 10, 64, 1, 0);
    const Vec2 aDirection = a.direction();
    const Vec2 bDirection = b.direction();
    collide();
    EXPECT_EQ(log.text(), "Collision Occured\nMagnitude of Collision: 0\n");
    EXPECT_EQ(game->inputQueue.size(), 1u);
    EXPECT_EQ(a.x, 10.0f);
    EXPECT_EQ(b.y, 10.0f);
    EXPECT_EQ(a.dirX, aDirection.x);
    EXPECT_EQ(b.dirX, bDirection.x);

    // With no direction an entity is separated all the same but keeps none when mirrored.
    first.clear();
    second.clear();
    const Entity& still = add(first, 0, 0, 60, 0, 0);
    const Entity& moving = add(second, -50, 0, 60, 0.6f, 0.8f);
    collide();
    EXPECT_EQ(game->inputQueue.size(), 2u);
    EXPECT_NEAR(still.x, 5.0f, 1e-3f);
    EXPECT_EQ(still.dirX, 0.0f);
    EXPECT_EQ(still.dirY, 0.0f);
    EXPECT_NEAR(moving.dirX, -0.6f, 1e-5f);
    EXPECT_NEAR(moving.dirY, 0.8f, 1e-5f);
}

} // namespace
