#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>

namespace {

constexpr int kSteps = 100000;

// One step's worth of random input: walking keys pressed and released, jumps, and left clicks
// anywhere in the window.
void queueRandomInput(Game& game, std::mt19937& random)
{
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> windowX(0, 639);
    std::uniform_int_distribution<int> windowY(0, 479);
    const int roll = percent(random);
    if (roll < 4) {
        game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_a));
    } else if (roll < 8) {
        game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_d));
    } else if (roll < 11) {
        game.inputQueue.push_back(keyEvent(game, kKeyReleased, SDLK_a));
    } else if (roll < 14) {
        game.inputQueue.push_back(keyEvent(game, kKeyReleased, SDLK_d));
    } else if (roll < 20) {
        game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_SPACE));
    } else if (roll < 24) {
        const auto x = static_cast<Uint16>(windowX(random));
        const auto y = static_cast<Uint16>(windowY(random));
        game.inputQueue.push_back(mouseEvent(game, SDL_BUTTON_LEFT, x, y));
    }
}

std::string brokenInvariant(Game& game)
{
    std::set<int32_t> ids;
    for (const EntityList& list : game.entityLists) {
        for (const auto& entity : list) {
            for (float value : {entity->x, entity->y, entity->dirX, entity->dirY, entity->speed}) {
                if (!std::isfinite(value)) {
                    return "Entity " + std::to_string(entity->id) +
                           " has a value that is not finite.";
                }
            }
            if (!ids.insert(entity->id).second) {
                return "Id " + std::to_string(entity->id) + " is held by two entities.";
            }
        }
    }
    if (game.avatars().empty() || game.avatars().front().get() != game.player.avatar) {
        return "The avatar is no longer first in its list.";
    }
    if (game.chasers.size() != game.enemies().size()) {
        return "There are " + std::to_string(game.chasers.size()) + " chasers for " +
               std::to_string(game.enemies().size()) + " enemies.";
    }
    for (const auto& enemy : game.enemies()) {
        int chasing = 0;
        for (const Chaser& chaser : game.chasers) {
            chasing += chaser.entityId == enemy->id ? 1 : 0;
        }
        if (chasing != 1) {
            return "Enemy " + std::to_string(enemy->id) + " has " + std::to_string(chasing) +
                   " chasers.";
        }
    }
    return "";
}

// A hundred thousand steps of the built-in scene under random input. With equal counts and
// one chaser per enemy, every chaser has its enemy too.
TEST(Soak, TheBuiltInSceneStaysSoundUnderRandomInput)
{
    const auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir()); // spawns load their picture from there
    LogCapture discarded;                         // every collision writes two lines
    std::mt19937 random(20240611u);
    std::uniform_real_distribution<float> worldX(0.0f, 3000.0f);
    std::uniform_real_distribution<float> worldY(0.0f, 680.0f);
    int spawns = 0;
    int32_t lastEnemy = game->enemies().back()->id;

    for (int step = 0; step < kSteps; ++step) {
        // Every collision costs a hit point; keep the player alive so the run goes on.
        game->player.hp = 1000000;
        // Now and then drop the avatar somewhere in the world (walls and arcs included), so
        // the run visits more of the level than the first screen.
        if (step % 5000 == 4999) {
            game->avatar().x = worldX(random);
            game->avatar().y = worldY(random);
        }
        queueRandomInput(*game, random);
        ASSERT_TRUE(game->frameStep()) << "step " << step;
        const std::string broken = brokenInvariant(*game);
        ASSERT_EQ(broken, "") << "step " << step;
        if (game->enemies().back()->id != lastEnemy) {
            lastEnemy = game->enemies().back()->id;
            ++spawns;
        }
        discarded.clear();
    }
    // The run did shoot enemies, so removals and spawns were part of it.
    EXPECT_GT(spawns, 0);
}

} // namespace
