#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>

namespace {

// One step's worth of random input, about one step in four: A, D or space pressed, A or D
// released, or a left click anywhere in the window.
void queueRandomInput(Game& game, std::mt19937& random)
{
    const SDLKey keys[] = {SDLK_a, SDLK_d, SDLK_SPACE};
    const int roll = std::uniform_int_distribution<int>(0, 23)(random);
    if (roll < 3) {
        game.inputQueue.push_back(keyEvent(game, kKeyPressed, keys[roll]));
    } else if (roll < 5) {
        game.inputQueue.push_back(keyEvent(game, kKeyReleased, keys[roll - 3]));
    } else if (roll == 5) {
        const auto x = static_cast<Uint16>(std::uniform_int_distribution<int>(0, 639)(random));
        const auto y = static_cast<Uint16>(std::uniform_int_distribution<int>(0, 479)(random));
        game.inputQueue.push_back(mouseEvent(game, SDL_BUTTON_LEFT, x, y));
    }
}

// The first broken rule of a sound world, or "".
std::string brokenInvariant(Game& game)
{
    std::set<int32_t> ids;
    for (const EntityList& list : game.entityLists) {
        for (const auto& entity : list) {
            const std::string name = "Entity " + std::to_string(entity->id);
            for (float value : {entity->x, entity->y, entity->dirX, entity->dirY, entity->speed}) {
                if (!std::isfinite(value)) {
                    return name + " has a value that is not finite.";
                }
            }
            if (!ids.insert(entity->id).second) {
                return name + "'s id is held by two entities.";
            }
        }
    }
    // Every enemy has exactly one chaser, and every chaser its enemy.
    std::multiset<int32_t> enemyIds;
    for (const auto& enemy : game.enemies()) {
        enemyIds.insert(enemy->id);
    }
    std::multiset<int32_t> chasedIds;
    for (const Chaser& chaser : game.chasers) {
        chasedIds.insert(chaser.entityId);
    }
    return enemyIds == chasedIds ? "" : "The chasers do not match the enemies one to one.";
}

TEST(Soak, TheBuiltInSceneStaysSoundForAHundredThousandStepsOfRandomInput)
{
    const auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir()); // spawns load their picture from there
    LogCapture discarded;                         // every collision writes two lines
    std::mt19937 random(20240611u);
    int spawns = 0;
    int32_t lastEnemy = game->enemies().back()->id;
    for (int step = 0; step < 100000; ++step) {
        game->player.hp = 1000000; // every collision costs a hit point; the run goes on
        // Now and then drop the avatar somewhere in the world (walls and arcs included), so
        // the run visits more of the level than the first screen.
        if (step % 5000 == 4999) {
            game->avatar().x = std::uniform_real_distribution<float>(0.0f, 3000.0f)(random);
            game->avatar().y = std::uniform_real_distribution<float>(0.0f, 680.0f)(random);
        }
        queueRandomInput(*game, random);
        ASSERT_TRUE(game->frameStep()) << "step " << step;
        ASSERT_EQ(brokenInvariant(*game), "") << "step " << step;
        spawns += game->enemies().back()->id != lastEnemy ? 1 : 0;
        lastEnemy = game->enemies().back()->id;
        discarded.clear();
    }
    EXPECT_GT(spawns, 0)
        << "The run should have shot enemies, so removals and spawns were part of it.";
}

} // namespace
