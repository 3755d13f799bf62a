#include "app/MainLoop.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

namespace {

// The avatar alone on one long line, enemies far out of reach, after it has come to rest.
class FloorWorld : public ::testing::Test {
protected:
    void SetUp() override { build(CollisionVector(0, 400, 3000, 0, 3, 0)); }

    void build(const CollisionVector& floor)
    {
        game = makeHeadlessGame();
        game->lines = {floor};
        game->arcs.clear();
        Entity& avatar = game->avatar();
        avatar.x = 100.0f;
        avatar.y = floor.y - 64.0f - 20.0f;
        avatar.speed = 0.0f;
        steps(40);
    }

    void press(int32_t kind, SDLKey key) { game->inputQueue.push_back(keyEvent(*game, kind, key)); }

    void steps(int count)
    {
        for (int step = 0; step < count; ++step) {
            ASSERT_TRUE(game->frameStep());
        }
    }

    Entity& avatar() { return game->avatar(); }

    LogCapture log;
    std::unique_ptr<Game> game;
};

TEST_F(FloorWorld, WalkingGoes120Then240WhileHeldAndStopsOnReleaseWhereAHeldKeyTakesOver)
{
    ASSERT_TRUE(avatar().inContact);
    press(kKeyPressed, SDLK_d);
    steps(1);
    EXPECT_EQ(avatar().speed, 120.0f);
    EXPECT_GT(avatar().dirX, 0.0f);
    steps(6);
    EXPECT_EQ(avatar().speed, 240.0f);
    EXPECT_GT(avatar().x, 120.0f);

    // Holding A, D's key-down turns the avatar right and its key-up stops it.
    press(kKeyPressed, SDLK_a);
    steps(3);
    EXPECT_LT(avatar().dirX, 0.0f);
    press(kKeyPressed, SDLK_d);
    steps(1);
    EXPECT_GT(avatar().dirX, 0.0f);
    EXPECT_EQ(avatar().speed, 120.0f);
    steps(1);
    press(kKeyReleased, SDLK_d);
    steps(1);
    EXPECT_EQ(avatar().speed, 0.0f);
    EXPECT_FALSE(game->rightHeld);

    // At rest on a flat floor the physics turns the avatar to gravity's direction, so the
    // held A drives it into the floor at 240 and it does not walk on.
    steps(1);
    EXPECT_EQ(avatar().speed, 240.0f);
    EXPECT_EQ(avatar().dirX, 0.0f);
    const float restingX = avatar().x;
    steps(10);
    EXPECT_EQ(avatar().x, restingX);
}

TEST_F(FloorWorld, OnAFloorSlopingDownToTheRightAHeldKeyKeepsTheAvatarWalkingRight)
{
    build(CollisionVector(0, 300, 3000, 300, 3, 0));
    press(kKeyPressed, SDLK_a);
    steps(2);
    press(kKeyPressed, SDLK_d);
    steps(2);
    press(kKeyReleased, SDLK_d);
    steps(2);
    const float startX = avatar().x;
    steps(30);
    EXPECT_EQ(avatar().speed, 240.0f);
    EXPECT_GT(avatar().dirX, 0.0f);
    EXPECT_GT(avatar().x - startX, 60.0f);
}

TEST_F(FloorWorld, SpaceJumpsStraightUpAt120FromRestAndDoesNothingInTheAir)
{
    const float startY = avatar().y;
    press(kKeyPressed, SDLK_SPACE);
    steps(1);
    EXPECT_EQ(avatar().speed, 120.0f);
    EXPECT_EQ(avatar().dirX, 0.0f);
    steps(3);
    EXPECT_LT(avatar().y, startY - 4.0f);

    avatar().y = 100.0f;
    avatar().speed = 0.0f;
    steps(1);
    ASSERT_FALSE(avatar().inContact);
    const auto motion = [this] {
        return std::make_tuple(avatar().dirX, avatar().dirY, avatar().speed);
    };
    const auto before = motion();
    press(kKeyPressed, SDLK_SPACE);
    game->handleInput();
    EXPECT_EQ(motion(), before);
}

TEST_F(FloorWorld, BackQuoteWaitsForAConsoleCharacterThenWalksRight)
{
    static int waits = 0;
    waits = 0;
    game->readConsoleChar = [] { return ++waits; };
    press(kKeyPressed, SDLK_BACKQUOTE);
    steps(1);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(avatar().speed, 120.0f);
    EXPECT_GT(avatar().dirX, 0.0f);
}

TEST_F(FloorWorld, AClickFiresAShotTowardsThePointersWorldPosition)
{
    avatar().x = 400.0f;
    avatar().y = 300.0f;
    game->renderer.camera = Vec2{100.0f, 50.0f};
    game->inputQueue.push_back(mouseEvent(*game, SDL_BUTTON_LEFT, 350, 250));
    game->inputQueue.push_back(mouseEvent(*game, SDL_BUTTON_LEFT, 332, 282));
    game->handleInput();
    const std::vector<Shot>& shots = game->player.currentWeapon().shots;
    ASSERT_EQ(shots.size(), 2u);
    // From the avatar's centre, its corner + 32, to the clicked world point (450, 300).
    EXPECT_EQ(std::make_tuple(shots[0].x, shots[0].y, shots[0].dx, shots[0].dy),
              std::make_tuple(432.0f, 332.0f, 18.0f, -32.0f));
    // A click on the avatar's own centre on screen aims nowhere.
    EXPECT_EQ(std::make_pair(shots[1].dx, shots[1].dy), std::make_pair(0.0f, 0.0f));
}

TEST_F(FloorWorld, ACollisionCostsAHitPointInTheSameStepAndTheLastOneEndsTheGame)
{
    Entity& enemy = *game->enemies()[0];
    enemy.x = avatar().x + 40.0f;
    enemy.y = avatar().y;
    enemy.speed = 0.0f;
    enemy.dirX = 0.6f;
    enemy.dirY = 0.8f;
    steps(1);
    EXPECT_EQ(game->player.hp, 2);
    EXPECT_NE(log.text().find("Collision Occured\n"), std::string::npos);

    // Every collision event costs a hit point, whatever entities it names.
    enemy.x = avatar().x + 1000.0f;
    game->player.hp = 1;
    game->inputQueue.push_back(keySymbolEvent(game.get(), kEntityCollision, SDLK_d));
    game->inputQueue.push_back(keySymbolEvent(game.get(), kEntityCollision, SDLK_d));
    log.clear();
    EXPECT_FALSE(game->frameStep());
    EXPECT_EQ(game->player.hp, -1);
    EXPECT_EQ(log.text(), "you die");
}

TEST(MainLoop, OnlyAPositionPastTheLineWins)
{
    const auto game = makeHeadlessGame();
    game->avatar().x = 2800.0f;
    EXPECT_FALSE(avatarHasWon(*game));
    game->avatar().x = std::nextafter(2800.0f, 3000.0f);
    EXPECT_TRUE(avatarHasWon(*game));
    game->avatar().x = std::nanf("");
    EXPECT_FALSE(avatarHasWon(*game));
}

} // namespace
