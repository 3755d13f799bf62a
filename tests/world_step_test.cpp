// The world step's stages in their order, the commands, the camera and the built-in scene.

#include "app/NativeRand.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The world as it stood while the back-quote key waited on the console (the commands stage).
Game* probed = nullptr;
std::pair<Vec2, float> seen; // the camera and the first enemy's speed
int lookAtTheWorld()
{
    seen = {probed->renderer.camera, probed->enemies()[0]->speed};
    return '\n';
}

TEST(FrameStep, CommandsSeeTheWorldAsDrawnBeforeThePursuitAndTheCameraMove)
{
    const auto game = makeHeadlessGame();
    LogCapture log;
    // Drawn at 0 (clamped), then scrolled by 3; the enemy at rest is within reach.
    placeAvatar(*game, 400, 200, 0, 1, 0);
    game->renderer.camera = Vec2{-50.0f, 0.0f};
    Entity& enemy = *game->enemies()[0];
    enemy.x = 600.0f;
    enemy.y = 200.0f;
    probed = game.get();
    game->readConsoleChar = lookAtTheWorld;
    game->inputQueue.push_back(mouseEvent(*game, SDL_BUTTON_LEFT, 100, 150));
    game->inputQueue.push_back(keyEvent(*game, kKeyPressed, SDLK_BACKQUOTE));
    ASSERT_TRUE(game->frameStep());
    EXPECT_TRUE(seen.first == (Vec2{0, 0}) && seen.second < 11.0f); // fallen, not yet turned
    EXPECT_TRUE(game->renderer.camera == (Vec2{3, 0}) && enemy.speed == 120.0f);
    // The click aims at the world point under the pointer in the frame as drawn.
    const Shot& shot = game->player.currentWeapon().shots.at(0);
    EXPECT_TRUE(near(Vec2{shot.x + shot.dx, shot.y + shot.dy}, {100, 150}, 1e-3f));
}

TEST(FrameStep, TheLastEnemyGoneAStepBringsOneAtRestThatPursuesFromTheNextStep)
{
    const auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir()); // the spawn loads its picture from there
    clearScene(*game);
    placeAvatar(*game, 2100, 96, 0, 1, 0); // within reach of the spawning place
    const int32_t id = nextObjectId;
    ASSERT_TRUE(game->frameStep());
    ASSERT_EQ(game->enemies().size(), 1u);
    const Entity& spawned = *game->enemies()[0];
    EXPECT_EQ(
        std::tie(spawned.id, spawned.x, spawned.y, spawned.speed, game->chasers.at(0).entityId),
        std::make_tuple(id, 1900.0f, 100.0f, 0.0f, id));
    EXPECT_EQ(spawned.imageIds, std::vector<int32_t>{id + 1});
    ASSERT_TRUE(game->frameStep());
    EXPECT_TRUE(game->enemies().size() == 1u && spawned.speed == 120.0f);
}

TEST(FrameStep, ACollisionCostsAHitPointInItsOwnStepAndTheLastOneEndsTheGame)
{
    const auto game = makeHeadlessGame();
    LogCapture log;
    game->player.hp = 1;
    game->enemies()[0]->x = game->avatar().x + 40.0f;
    game->enemies()[0]->y = game->avatar().y;
    EXPECT_FALSE(game->frameStep());
    EXPECT_EQ(game->player.hp, 0);
    const std::string text = log.text();
    EXPECT_EQ(text.substr(0, 18) + text.substr(text.size() - 7), "Collision Occured\nyou die");
}

TEST(FrameStep, EnemiesWithinThreeHundredTurnStraightAtTheAvatarAtOneTwenty)
{
    const auto game = makeHeadlessGame();
    clearScene(*game);
    Entity& avatar = placeAvatar(*game, 1000, 300, 33, 1, 0);
    game->chasers = {Chaser{game.get(), avatar.id}, Chaser{game.get(), 99999}}; // no enemies
    const Vec2 own{0.6f, 0.8f};
    const std::tuple<Vec2, float, Vec2> cases[] = {
        // corner, speed and direction after
        {{700, 300}, 120, {1, 0}},        // 300 away: fastSqrt gives 299.99973
        {{820, 540}, 120, {0.6f, -0.8f}}, // 300 away on a slant
        {{699, 300}, 55, own},            // 301 away: keeps its own motion
        {{1000, 300}, 120, own},          // on the avatar: keeps its direction
    };
    for (const auto& [corner, speed, direction] : cases) {
        addEntity(*game, kEnemyList, corner, 55, own);
    }
    game->runChasers();
    EXPECT_EQ(avatar.speed, 33.0f);
    for (size_t index = 0; index < std::size(cases); ++index) {
        const Entity& enemy = *game->enemies()[index];
        EXPECT_EQ(enemy.speed, std::get<1>(cases[index])) << index;
        EXPECT_TRUE(near(enemy.direction(), std::get<2>(cases[index]))) << index;
    }
}

// The avatar at rest alone on a long floor at y 400.
class Commands : public ::testing::Test {
protected:
    void SetUp() override
    {
        game->lines = {CollisionVector(0, 400, 3000, 0, 3, 0)};
        game->arcs.clear();
        placeAvatar(*game, 100, 316, 0, 0, 1);
        run({}, 40);
    }
    // Queues the keys, runs the steps; gives the speed and the sign of the x direction.
    std::pair<float, float> run(std::initializer_list<std::pair<int32_t, SDLKey>> keys,
                                int steps = 1)
    {
        for (const auto& [kind, key] : keys) {
            game->inputQueue.push_back(keyEvent(*game, kind, key));
        }
        for (int step = 0; step < steps; ++step) {
            EXPECT_TRUE(game->frameStep());
        }
        const float dirX = game->avatar().dirX;
        return {game->avatar().speed, dirX == 0.0f ? 0.0f : std::copysign(1.0f, dirX)};
    }
    std::unique_ptr<Game> game = makeHeadlessGame();
    LogCapture log;
};

TEST_F(Commands, WalkingGoes120Then240WhileHeldAndStopsOnReleaseWhereAHeldKeyTakesOver)
{
    using Motion = std::pair<float, float>;
    EXPECT_EQ(run({{kKeyPressed, SDLK_d}}), Motion(120, 1)); // from rest, facing down
    EXPECT_EQ(run({}, 6), Motion(240, 1));
    EXPECT_EQ(run({{kKeyPressed, SDLK_a}}), Motion(120, -1));   // reverses
    EXPECT_EQ(run({{kKeyPressed, SDLK_d}}, 2), Motion(240, 1)); // both held: 240 either way
    EXPECT_EQ(run({{kKeyReleased, SDLK_d}}), Motion(0, 1));
    // Stopped, the avatar faces gravity's way: the held A drives it into the floor at 240.
    const float restingX = game->avatar().x;
    EXPECT_EQ(run({}, 10), Motion(240, 0));
    EXPECT_EQ(game->avatar().x, restingX);
    EXPECT_LT(run({{kKeyReleased, SDLK_a}}).first, 11.0f);
    // Space from rest: straight up at 120, and nothing more in the air.
    EXPECT_EQ(run({{kKeyPressed, SDLK_SPACE}}), Motion(120, 0));
    EXPECT_NEAR(game->avatar().dirY, -1.0f, 1e-5f);
    const float rising = run({}, 3).first;
    EXPECT_LT(run({{kKeyPressed, SDLK_SPACE}}).first, rising);
    run({}, 40);
    // Walking right, tipped down by gravity: the jump turns it a quarter up, a little right.
    run({{kKeyPressed, SDLK_d}}, 3);
    EXPECT_EQ(run({{kKeyPressed, SDLK_SPACE}}), Motion(120, 1));
    EXPECT_LT(game->avatar().dirY, -0.99f);
}

TEST_F(Commands, BackQuoteWaitsOnTheConsoleThenWalksRightAndAClickShootsAtThePointer)
{
    static int waits = 0;
    game->readConsoleChar = [] { return ++waits; };
    EXPECT_EQ(run({{kKeyPressed, SDLK_BACKQUOTE}}), std::make_pair(120.0f, 1.0f));
    EXPECT_TRUE(waits == 1 && game->rightHeld);
    // From the avatar's centre to the clicked point in the world.
    placeAvatar(*game, 400, 300, 0, 1, 0);
    game->renderer.camera = Vec2{100.0f, 50.0f};
    game->inputQueue = {mouseEvent(*game, SDL_BUTTON_LEFT, 350, 250)};
    game->handleInput();
    const Shot& shot = game->player.currentWeapon().shots.at(0);
    EXPECT_EQ(std::tie(shot.x, shot.y, shot.dx, shot.dy),
              std::make_tuple(432.0f, 332.0f, 18.0f, -32.0f));
}

// The renderer as the world leaves it: 640 by 480 view, follow box 300 by 380.
Renderer renderer(Vec2 camera, Vec2 world = Vec2{3000.0f, 680.0f})
{
    Renderer result(nullptr, 640.0f, 480.0f, world.x, world.y, RenderMode::Headless);
    result.followBox = Vec2{300.0f, 380.0f};
    result.camera = camera;
    return result;
}

TEST(Camera, FollowsOutsideTheBoxThreeRightFourLeftThreeUpOrDownAndIsDrawnInsideTheWorld)
{
    // Avatar corner relative to the camera at (1000, 100), camera after. Not clamped here.
    const Vec2 follows[][2] = {
        {{250, 200}, {1000, 100}}, {{200, 100}, {1000, 100}}, {{300, 380}, {1000, 100}},
        {{301, 200}, {1003, 100}}, {{199, 200}, {996, 100}},  {{250, 99}, {1000, 97}},
        {{250, 381}, {1000, 103}}, {{-990, -90}, {996, 97}},
    };
    for (const auto& [avatar, after] : follows) {
        Renderer view = renderer(Vec2{1000.0f, 100.0f});
        view.followCamera(Entity(0, 1000 + avatar.x, 100 + avatar.y, 64, 64, 1, 0));
        EXPECT_EQ(view.camera, after) << avatar.x << ", " << avatar.y;
    }
    // Each test sees the camera the one before left: +3 (box 100 wide), then -4 (margin 1203).
    Renderer narrow = renderer(Vec2{1000.0f, 100.0f});
    narrow.followBox = Vec2{100.0f, 380.0f};
    narrow.followCamera(Entity(0, 1150, 300, 64, 64, 1, 0));
    EXPECT_EQ(narrow.camera, (Vec2{999.0f, 100.0f}));
    // Camera before, world size, camera drawn: a small world is shown from 500 - 640.
    const Vec2 clamps[][3] = {
        {{-5, -7}, {3000, 680}, {0, 0}},
        {{2400, 250}, {3000, 680}, {2360, 200}},
        {{2361, 201}, {3000, 680}, {2360, 200}},
        {{2360.5f, 200.5f}, {3000, 680}, {2360, 200}},
        {{2360, 200}, {3000, 680}, {2360, 200}},
        {{2359.5f, 199.5f}, {3000, 680}, {2359.5f, 199.5f}},
        {{-5, -5}, {500, 400}, {-140, -80}},
        {{30, 0}, {500, 680}, {-140, 0}},
    };
    for (const auto& [before, world, drawn] : clamps) {
        Renderer view = renderer(before, world);
        view.drawFrame();
        EXPECT_EQ(view.camera, drawn) << before.x << ", " << before.y;
    }
}

TEST(BuiltinScene, HandsOutIdsAndPicturesInTheFixedOrderAndDrawsSixRandomNumbers)
{
    resetProcessState();
    for (int draw = 0; draw < 6; ++draw) {
        std::rand();
    }
    const int seventh = std::rand();
    const auto game = makeHeadlessGame();
    EXPECT_EQ(std::rand(), seventh);
    // The tile 1, its picture 2, the entities' pictures 6 to 8; loose entities' 10 and 12.
    EXPECT_EQ(game->enemies().at(1)->imageIds, std::vector<int32_t>{8});
    std::vector<int32_t> pictures;
    for (const ImageRecord& image : game->renderer.images) {
        pictures.push_back(image.id);
    }
    EXPECT_EQ(pictures, (std::vector<int32_t>{2, 6, 7, 8, 10, 12}));
    EXPECT_EQ(std::tie(game->tiles.at(0).id, nextObjectId), std::make_tuple(1, 13));
}

} // namespace

// The browser build draws from NativeRand what the native C library's rand draws, seeds at the
// edges included (0 is taken as 1; the top bit set).
TEST(BuiltinScene, TheBrowserBuildDrawsTheNativeRandomSequence)
{
    for (const unsigned seed : {1U, 0U, 12345U, 0x80000000U, 0xFFFFFFFFU}) {
        std::srand(seed);
        NativeRand browser(seed);
        for (int draw = 0; draw < 1000; ++draw) {
            ASSERT_EQ(browser.draw(), std::rand()) << "seed " << seed << ", draw " << draw;
        }
    }
    std::srand(1);
}
