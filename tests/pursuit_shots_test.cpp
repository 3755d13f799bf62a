#include "entities/ShotHits.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The built-in world without its enemies; each test places its own, each with its chaser.
class ChasedEnemies : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = makeHeadlessGame();
        game->enemies().clear();
        game->chasers.clear();
        game->avatar().x = 1000;
        game->avatar().y = 300;
    }

    Entity& addEnemy(float x, float y, float speed = 55, float dirX = 0.6f, float dirY = 0.8f)
    {
        game->enemies().push_back(std::make_unique<Entity>(speed, x, y, 64, 64, dirX, dirY));
        Entity& enemy = *game->enemies().back();
        game->chasers.push_back(Chaser{game.get(), enemy.id});
        return enemy;
    }

    std::vector<Shot>& shots() { return game->player.currentWeapon().shots; }

    void resolve() { resolveShots(game->physics, game->chasers, shots()); }

    std::vector<int32_t> chasedIds() const
    {
        std::vector<int32_t> ids;
        for (const Chaser& chaser : game->chasers) {
            ids.push_back(chaser.entityId);
        }
        return ids;
    }

    std::vector<int32_t> enemyIds()
    {
        std::vector<int32_t> ids;
        for (const auto& enemy : game->enemies()) {
            ids.push_back(enemy->id);
        }
        return ids;
    }

    std::unique_ptr<Game> game;
};

using Pursuit = ChasedEnemies;
using ShotHits = ChasedEnemies;

TEST_F(Pursuit, AnEnemyWithinThreeHundredTurnsStraightAtTheAvatar)
{
    Entity& level = addEnemy(700, 300);    // fastSqrt gives 299.99973
    Entity& diagonal = addEnemy(820, 540); // (180, -240) from it to the avatar
    Entity& far = addEnemy(699, 300);      // 300.99966
    game->runChasers();

    EXPECT_EQ(level.speed, 120.0f);
    EXPECT_NEAR(level.dirX, 1.0f, 1e-5f);
    EXPECT_EQ(level.dirY, 0.0f);
    EXPECT_EQ(diagonal.speed, 120.0f);
    EXPECT_NEAR(diagonal.dirX, 0.6f, 1e-5f);
    EXPECT_NEAR(diagonal.dirY, -0.8f, 1e-5f);

    // Out of range: its own speed and direction, whatever they are.
    const Entity untouched(55, 0, 0, 64, 64, 0.6f, 0.8f);
    EXPECT_EQ(far.speed, 55.0f);
    EXPECT_EQ(far.dirX, untouched.dirX);
    EXPECT_EQ(far.dirY, untouched.dirY);
}

TEST_F(Pursuit, AnEnemyOnTheAvatarSpeedsUpButKeepsItsDirection)
{
    Entity& enemy = addEnemy(1000, 300, 0, 0.6f, 0.8f);
    const Entity before = enemy;
    game->runChasers();
    EXPECT_EQ(enemy.speed, 120.0f);
    EXPECT_EQ(enemy.dirX, before.dirX);
    EXPECT_EQ(enemy.dirY, before.dirY);
}

TEST_F(Pursuit, AChaserWithoutItsEnemyDoesNothing)
{
    Entity& avatar = game->avatar();
    avatar.speed = 33;
    const Entity avatarBefore = avatar;
    // One chaser names the avatar (not an enemy), one names nothing at all.
    game->chasers.push_back(Chaser{game.get(), avatar.id});
    game->chasers.push_back(Chaser{game.get(), 99999});
    Entity& enemy = addEnemy(900, 300);
    game->runChasers();
    EXPECT_EQ(avatar.speed, 33.0f);
    EXPECT_EQ(avatar.dirX, avatarBefore.dirX);
    EXPECT_EQ(avatar.dirY, avatarBefore.dirY);
    EXPECT_EQ(enemy.speed, 120.0f); // the chasers after them still run
}

TEST_F(ShotHits, AShotHitsEveryEnemyWithinTwiceItsRadiusFromItsOriginToTheClickedPoint)
{
    struct Case {
        const char* what;
        Shot shot;
        std::vector<Vec2> corners;
        std::vector<size_t> survivors; // indices into corners
    };
    // fastSqrt(280²) is exactly 280.
    const Case cases[] = {
        // Corners at the origin (t = 0, d = 0), past the clicked point (300, 100), behind it.
        {"origin only", Shot{100, 100, 200, 0}, {{100, 100}, {301, 100}, {99, 100}}, {1, 2}},
        {"64 below hits, 64.5 misses", Shot{0, 0, 280, 0}, {{100, 64}, {200, 64.5f}}, {1}},
        {"one shot, two enemies", Shot{0, 0, 280, 0}, {{500, 500}, {100, 10}, {200, -10}}, {0}},
        {"a shot of no length", Shot{100, 100, 0, 0}, {{100, 100}}, {0}},
    };
    for (const Case& test : cases) {
        game->enemies().clear();
        game->chasers.clear();
        std::vector<int32_t> expected;
        for (size_t index = 0; index < test.corners.size(); ++index) {
            const int32_t id = addEnemy(test.corners[index].x, test.corners[index].y).id;
            if (std::count(test.survivors.begin(), test.survivors.end(), index) != 0) {
                expected.push_back(id);
            }
        }
        shots().push_back(test.shot);
        resolve();
        EXPECT_EQ(enemyIds(), expected) << test.what;
        EXPECT_EQ(chasedIds(), expected) << test.what;
        EXPECT_TRUE(shots().empty()) << test.what;
    }
}

TEST_F(ShotHits, EveryShotIsDiscardedAndLostChasersStayInPlace)
{
    // A chaser whose enemy is gone sits between two live ones.
    const int32_t first = addEnemy(100, 100).id;
    game->chasers.push_back(Chaser{game.get(), 99999});
    const int32_t last = addEnemy(700, 100).id;
    shots().push_back(Shot{0, 0, 0, 0});         // hits nothing
    shots().push_back(Shot{700, 100, 70, 0});    // hits the last enemy
    shots().push_back(Shot{1000, 1000, 10, 10}); // misses everything
    resolve();
    EXPECT_TRUE(shots().empty());
    EXPECT_EQ(enemyIds(), std::vector<int32_t>{first});
    EXPECT_EQ(chasedIds(), (std::vector<int32_t>{first, 99999}));
    EXPECT_NE(findEntityById(first, *game), nullptr);
    EXPECT_EQ(findEntityById(last, *game), nullptr);
}

TEST_F(ShotHits, AClickFiresAShotThatTheNextStepResolves)
{
    LogCapture log;
    Entity& avatar = game->avatar();
    avatar.x = 300;
    avatar.y = 300;
    avatar.speed = 0;
    game->renderer.camera = Vec2{0, 0};
    const int32_t target = addEnemy(400, 330, 0, 1, 1).id;
    const int32_t spared = addEnemy(400, 100, 0, 1, 1).id;
    game->inputQueue.push_back(mouseEvent(*game, SDL_BUTTON_LEFT, 500, 362)); // world (500, 362)
    game->handleInput();
    ASSERT_EQ(shots().size(), 1u);
    game->physics.step();
    EXPECT_EQ(enemyIds(), std::vector<int32_t>{spared});
    EXPECT_EQ(chasedIds(), std::vector<int32_t>{spared});
    EXPECT_NE(target, spared);
}

} // namespace
