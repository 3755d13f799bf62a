#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

// The built-in scene played through queued events: the avatar is put on the enemies' ledge
// (the walls between are tall), shoots both enemies, and is then caught by the replacement.
TEST(PlayThrough, ShootingBothEnemiesBringsANewOneThatHuntsTheAvatarDown)
{
    const auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir());
    LogCapture log;
    Entity& avatar = game->avatar();
    avatar.x = 2100.0f;
    avatar.y = 96.0f;
    avatar.speed = 0.0f;
    game->renderer.camera = Vec2{1700.0f, 0.0f};
    const int32_t firstEnemy = game->enemies()[0]->id;
    const int32_t secondEnemy = game->enemies()[1]->id;

    // One shot along the ledge, aimed past both enemies at world (1850, 110).
    game->inputQueue.push_back(mouseEvent(*game, SDL_BUTTON_LEFT, 150, 110));
    ASSERT_TRUE(game->frameStep());
    ASSERT_EQ(game->player.currentWeapon().shots.size(), 1u);
    ASSERT_TRUE(game->frameStep());
    EXPECT_TRUE(game->player.currentWeapon().shots.empty());

    ASSERT_EQ(game->enemies().size(), 1u);
    const Entity& spawned = *game->enemies()[0];
    EXPECT_NE(spawned.id, firstEnemy);
    EXPECT_NE(spawned.id, secondEnemy);
    EXPECT_EQ(spawned.x, 1900.0f);
    EXPECT_EQ(spawned.y, 100.0f);
    EXPECT_EQ(spawned.imageIds, std::vector<int32_t>{spawned.id + 1});
    ASSERT_EQ(game->chasers.size(), 1u);
    EXPECT_EQ(game->chasers[0].entityId, spawned.id);

    // The new enemy is within reach and chases the avatar; every touch costs a hit point.
    int steps = 0;
    while (game->frameStep()) {
        ASSERT_LT(++steps, 600) << "The enemy should have caught the avatar by now.";
    }
    EXPECT_LE(game->player.hp, 0);
    const std::string text = log.text();
    EXPECT_NE(text.find("Collision Occured\nMagnitude of Collision: "), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 7), "you die");
}

} // namespace
