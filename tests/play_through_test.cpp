#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The built-in scene played through queued events: the avatar is put on the enemies' ledge
// (the walls between are tall), shoots both enemies with one shot, and is then hunted down by
// the enemy the frame step brings to replace them.
TEST(PlayThrough, ShootingBothEnemiesBringsANewOneThatHuntsTheAvatarDown)
{
    const auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir()); // the spawn loads its picture from there
    LogCapture log;
    placeAvatar(*game, 2100.0f, 96.0f, 0.0f, game->avatar().dirX, game->avatar().dirY);
    game->renderer.camera = Vec2{1700.0f, 0.0f};
    const int32_t spawnId = nextObjectId;

    // Aimed along the ledge past both enemies, at world (1850, 110); the next step's shot pass
    // removes them, and the same step brings the new enemy, which has not moved yet.
    game->inputQueue.push_back(mouseEvent(*game, SDL_BUTTON_LEFT, 150, 110));
    ASSERT_TRUE(game->frameStep());
    ASSERT_TRUE(game->frameStep());
    EXPECT_TRUE(game->player.currentWeapon().shots.empty());
    ASSERT_EQ(game->enemies().size(), 1u);
    const Entity& spawned = *game->enemies()[0];
    EXPECT_EQ(spawned.id, spawnId);
    EXPECT_EQ(spawned.imageIds, std::vector<int32_t>{spawnId + 1});
    EXPECT_EQ(game->renderer.findImageIndex(spawnId + 1), 6);
    EXPECT_EQ(std::make_tuple(spawned.x, spawned.y, spawned.speed),
              std::make_tuple(1900.0f, 100.0f, 0.0f));
    ASSERT_EQ(game->chasers.size(), 1u);
    EXPECT_EQ(game->chasers[0].entityId, spawnId);

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
