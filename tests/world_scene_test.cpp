#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(BuiltinScene, FillsTheListsAndHandsOutIdsInTheFixedOrder)
{
    const auto game = makeHeadlessGame();
    EXPECT_EQ(game->avatars().size(), 1u);
    EXPECT_EQ(game->enemies().size(), 2u);
    EXPECT_TRUE(game->entityLists[kThirdList].empty());
    EXPECT_TRUE(game->entityLists[kFourthList].empty());
    EXPECT_TRUE(game->levelPictures().empty());
    EXPECT_EQ(game->lines.size(), 36u);
    EXPECT_EQ(game->arcs.size(), 6u);
    EXPECT_EQ(game->chasers.size(), 2u);
    EXPECT_EQ(game->tiles.size(), 1u);
    EXPECT_TRUE(game->inputQueue.empty());
    EXPECT_EQ(game->renderer.levelPicture.id, 0);
    EXPECT_EQ(game->tiles[0].id, 1);
    EXPECT_EQ(game->tiles[0].imageId, 2);
    // Each entity takes its id, then its picture the next.
    const Entity* entities[] = {&game->avatar(), game->enemies()[0].get(),
                                game->enemies()[1].get()};
    for (int32_t index = 0; index < 3; ++index) {
        EXPECT_EQ(entities[index]->id, 3 + index);
        EXPECT_EQ(entities[index]->imageIds, std::vector<int32_t>{6 + index});
    }
    // The two loose entities took 9 and 11, their pictures 10 and 12.
    ASSERT_EQ(game->renderer.images.size(), 6u);
    EXPECT_EQ(game->renderer.images[4].id, 10);
    EXPECT_EQ(game->renderer.images[5].id, 12);
    EXPECT_EQ(nextObjectId, 13);
    EXPECT_EQ(game->chasers[0].entityId, 4);
    EXPECT_EQ(game->chasers[1].entityId, 5);
}

TEST(BuiltinScene, PlacesTheAvatarEnemiesAndTileAndSetsTheView)
{
    const auto game = makeHeadlessGame();
    const Entity& avatar = game->avatar();
    EXPECT_EQ(game->player.avatar, &avatar);
    EXPECT_EQ(game->player.avatarId, avatar.id);
    EXPECT_EQ(game->player.hp, 3);
    EXPECT_EQ(game->player.score, 0);
    ASSERT_EQ(game->player.weapons.size(), 1u);
    EXPECT_EQ(game->player.weapons[0].type, 'S');
    EXPECT_EQ(avatar.x, 50.0f);
    EXPECT_EQ(avatar.y, 50.0f);
    EXPECT_EQ(avatar.speed, 200.0f);
    EXPECT_NEAR(avatar.dirX * avatar.dirX + avatar.dirY * avatar.dirY, 1.0f, 1e-4f);
    EXPECT_EQ(avatar.radius, 32.0f);

    const Entity& second = *game->enemies()[1];
    EXPECT_EQ(second.x, 1950.0f);
    EXPECT_EQ(second.y, 100.0f);
    EXPECT_EQ(second.speed, 0.0f);
    EXPECT_NEAR(second.dirX, 0.70710678f, 1e-5f);

    const Tile& tile = game->tiles[0];
    EXPECT_EQ(tile.width, 128.0f);
    EXPECT_EQ(tile.x, 0.0f);
    EXPECT_STREQ(tile.fileName, "tile.bmp");
    // The renderer's final view and follow box.
    EXPECT_EQ(game->renderer.screenSize.x, 640.0f);
    EXPECT_EQ(game->renderer.followBox.x, 300.0f);
    EXPECT_EQ(game->renderer.followBox.y, 380.0f);
    EXPECT_EQ(game->renderer.worldSize.x, 3000.0f);
    EXPECT_EQ(game->renderer.worldSize.y, 680.0f);
}

TEST(BuiltinScene, BuildsTheLevelGeometryOfTheTable)
{
    const auto game = makeHeadlessGame();
    const CollisionVector& slope = game->lines[0];
    EXPECT_EQ(slope.x, 50.0f);
    EXPECT_EQ(slope.dy, -60.0f);
    const CollisionVector& platform = game->lines[6];
    EXPECT_EQ(platform.y, 310.0f);
    EXPECT_EQ(platform.type, 1);
    const CollisionVector& lastLine = game->lines[35];
    EXPECT_EQ(lastLine.x, 2700.0f);
    EXPECT_EQ(lastLine.dx, 300.0f);

    const CollisionArc& ring = game->arcs[2];
    EXPECT_EQ(ring.radius, 50.0f);
    EXPECT_EQ(ring.quadrant, 15);
    EXPECT_EQ(ring.flag, 21);
    EXPECT_EQ(ring.minSpeed, -1.0f);
    EXPECT_EQ(ring.distance, 60.0f);
    const CollisionArc& lastArc = game->arcs[5];
    EXPECT_EQ(lastArc.x, 1400.0f);
    EXPECT_EQ(lastArc.flag, 10);
}

TEST(BuiltinScene, DrawsExactlySixRandomNumbers)
{
    resetProcessState();
    for (int draw = 0; draw < 6; ++draw) {
        std::rand();
    }
    const int seventh = std::rand();
    const auto game = makeHeadlessGame();
    EXPECT_EQ(std::rand(), seventh);
}

} // namespace
