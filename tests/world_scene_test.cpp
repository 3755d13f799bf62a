// The built-in scene: what the construction puts into the world, with which ids, in what order.
// Where its entities, lines and arcs lie is pinned by the replays' golden traces.

#include "support/TestWorld.h"

#include <gtest/gtest.h>

namespace {

TEST(BuiltinScene, FillsTheListsAndHandsOutIdsInTheFixedOrder)
{
    const auto game = makeHeadlessGame();
    const size_t listSizes[kEntityListCount] = {1, 2, 0, 0, 0};
    for (int list = 0; list < kEntityListCount; ++list) {
        EXPECT_EQ(game->entityLists[list].size(), listSizes[list]) << "list " << list;
    }
    EXPECT_EQ(game->lines.size(), 36u);
    EXPECT_EQ(game->arcs.size(), 6u);
    ASSERT_EQ(game->tiles.size(), 1u);
    // Background 0, the tile 1 and its picture 2; each entity takes its id, then its picture.
    EXPECT_EQ(game->renderer.levelPicture.id, 0);
    EXPECT_EQ(game->tiles[0].id, 1);
    EXPECT_EQ(game->tiles[0].imageId, 2);
    const Entity* entities[] = {&game->avatar(), game->enemies()[0].get(),
                                game->enemies()[1].get()};
    for (int32_t index = 0; index < 3; ++index) {
        EXPECT_EQ(entities[index]->id, 3 + index);
        EXPECT_EQ(entities[index]->imageIds, std::vector<int32_t>{6 + index});
    }
    EXPECT_EQ(game->player.avatar, entities[0]);
    EXPECT_EQ(game->player.avatarId, 3);
    ASSERT_EQ(game->chasers.size(), 2u);
    EXPECT_EQ(game->chasers[0].entityId, 4);
    EXPECT_EQ(game->chasers[1].entityId, 5);
    // The two loose entities took 9 and 11 and are gone; their pictures 10 and 12 stay.
    const std::vector<int32_t> pictureIds = {2, 6, 7, 8, 10, 12};
    ASSERT_EQ(game->renderer.images.size(), pictureIds.size());
    for (size_t index = 0; index < pictureIds.size(); ++index) {
        EXPECT_EQ(game->renderer.findImageIndex(pictureIds[index]), static_cast<int>(index));
    }
    for (int32_t notAPicture : {0, 1, 3, 9, 13, -1}) {
        EXPECT_EQ(game->renderer.findImageIndex(notAPicture), -1) << notAPicture;
    }
    EXPECT_EQ(nextObjectId, 13);
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
