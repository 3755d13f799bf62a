#include "entities/ShotHits.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The built-in world without its enemies, the avatar's corner at (1000, 300); each test places
// its own enemies, each with its chaser.
class ChasedEnemies : public ::testing::Test {
protected:
    void SetUp() override
    {
        game->enemies().clear();
        game->chasers.clear();
        game->avatar().x = 1000;
        game->avatar().y = 300;
    }

    int32_t addEnemy(Vec2 corner)
    {
        game->enemies().push_back(
            std::make_unique<Entity>(55.0f, corner.x, corner.y, 64, 64, 0.6f, 0.8f));
        game->chasers.push_back(Chaser{game.get(), game->enemies().back()->id});
        return game->enemies().back()->id;
    }

    // The ids of the enemies, then the ids their chasers name, in list order.
    std::vector<int32_t> ids() const
    {
        std::vector<int32_t> result;
        for (const auto& enemy : game->enemies()) {
            result.push_back(enemy->id);
        }
        for (const Chaser& chaser : game->chasers) {
            result.push_back(chaser.entityId);
        }
        return result;
    }

    std::vector<Shot>& shots() { return game->player.currentWeapon().shots; }

    std::unique_ptr<Game> game = makeHeadlessGame();
};

TEST_F(ChasedEnemies, EnemiesWithinThreeHundredTurnStraightAtTheAvatarAtOneTwenty)
{
    // Chasers that name the avatar (not an enemy) or nothing at all do nothing.
    Entity& avatar = game->avatar();
    avatar.speed = 33;
    game->chasers.push_back(Chaser{game.get(), avatar.id});
    game->chasers.push_back(Chaser{game.get(), 99999});
    const Vec2 own = Entity(0, 0, 0, 64, 64, 0.6f, 0.8f).direction();
    const struct {
        const char* what;
        Vec2 corner;
        float speed;
        Vec2 direction;
    } cases[] = {
        {"300 away, fastSqrt gives 299.99973", {700, 300}, 120, {1, 0}},
        {"300 away on a slant", {820, 540}, 120, {0.6f, -0.8f}},
        {"301 away, keeps its own motion", {699, 300}, 55, own},
        {"on the avatar, keeps its direction", {1000, 300}, 120, own},
    };
    for (const auto& test : cases) {
        addEnemy(test.corner);
    }
    game->runChasers();
    EXPECT_EQ(avatar.speed, 33.0f);
    for (size_t index = 0; index < game->enemies().size(); ++index) {
        SCOPED_TRACE(cases[index].what);
        const Entity& enemy = *game->enemies()[index];
        EXPECT_EQ(enemy.speed, cases[index].speed);
        EXPECT_NEAR(enemy.dirX, cases[index].direction.x, 1e-5f);
        EXPECT_NEAR(enemy.dirY, cases[index].direction.y, 1e-5f);
    }
}

TEST_F(ChasedEnemies, AShotHitsEveryEnemyWithinTwiceItsRadiusFromItsOriginToTheClickedPoint)
{
    const struct {
        const char* what;
        std::vector<Shot> shots;
        std::vector<Vec2> corners;
        std::vector<size_t> survivors; // indices into corners
    } cases[] = {
        // Corners at the origin (t = 0, d = 0), past the clicked point (300, 100), behind it.
        {"origin only", {{100, 100, 200, 0}}, {{100, 100}, {301, 100}, {99, 100}}, {1, 2}},
        {"64 below hits, 64.5 misses", {{0, 0, 280, 0}}, {{100, 64}, {200, 64.5f}}, {1}},
        {"one shot, two enemies", {{0, 0, 280, 0}}, {{500, 500}, {100, 10}, {200, -10}}, {0}},
        {"a shot of no length", {{100, 100, 0, 0}}, {{100, 100}}, {0}},
        {"every shot is tried",
         {{0, 0, 0, 0}, {700, 100, 70, 0}, {1000, 1000, 10, 10}},
         {{100, 100}, {700, 100}},
         {0}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        game->enemies().clear();
        // A chaser whose enemy is gone is skipped and left in place.
        game->chasers = {Chaser{game.get(), 99999}};
        std::vector<int32_t> expected;
        for (size_t index = 0; index < test.corners.size(); ++index) {
            const int32_t id = addEnemy(test.corners[index]);
            if (std::count(test.survivors.begin(), test.survivors.end(), index) != 0) {
                expected.push_back(id);
            }
        }
        shots() = test.shots;
        resolveShots(game->physics, game->chasers, shots());
        std::vector<int32_t> chased = expected;
        chased.insert(chased.begin(), 99999);
        expected.insert(expected.end(), chased.begin(), chased.end());
        EXPECT_EQ(ids(), expected);
        EXPECT_TRUE(shots().empty());
    }
}

} // namespace
