// Hostile levels: whatever the input and the level, no NaN enters an entity.

#include "level/CharSource.h"
#include "level/LevelLoader.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Runs the world with random input (A, D or space pressed, A or D released, or a left click,
// about one step in four), the avatar kept alive; gives every entity's places.
std::vector<float> run(Game& game, int steps)
{
    ScopedWorkingDirectory inAssets(assetsDir()); // spawns load their picture from there
    LogCapture discarded;
    std::mt19937 random(20240611u);
    const auto below = [&random](int n) { return std::uniform_int_distribution(0, n - 1)(random); };
    const SDLKey keys[] = {SDLK_a, SDLK_d, SDLK_SPACE};
    std::vector<float> places;
    for (int step = 1; step <= steps && !::testing::Test::HasFailure(); ++step) {
        game.player.hp = 1000000;
        const int roll = below(24);
        if (roll < 5) {
            game.inputQueue.push_back(
                keyEvent(game, roll < 3 ? kKeyPressed : kKeyReleased, keys[roll % 3]));
        } else if (roll == 5) {
            game.inputQueue.push_back(mouseEvent(game, SDL_BUTTON_LEFT,
                                                 static_cast<Uint16>(below(640)),
                                                 static_cast<Uint16>(below(480))));
        }
        EXPECT_TRUE(game.frameStep());
        for (const EntityList& list : game.entityLists) {
            for (const auto& e : list) { // a position may run off to infinity, never to a NaN
                EXPECT_FALSE(std::isnan(e->x) || std::isnan(e->y) ||
                             !std::isfinite(e->dirX + e->dirY + e->speed))
                    << "Entity " << e->id << " left the numbers at step " << step;
                places.insert(places.end(), {e->x, e->y});
            }
        }
        discarded.clear();
    }
    return places;
}

std::unique_ptr<Game> worldWithLevel(const std::string& text)
{
    auto game = makeHeadlessGame();
    CharSource source(text.data(), text.size());
    LogCapture quiet;
    readLevel(*game, source);
    return game;
}

// Shapes of nan or infinity ("%f" reads them) fail every contact test, shapes at the ends of the
// float range reach nothing and a world of no size only moves the camera: the world runs
// exactly as without them. Only an attraction ring as wide as the numbers go reaches
// everything: it holds the avatar against gravity and draws it up off the floor.
TEST(Soak, HostileLevelsRunAsWithoutThemUnlessARingReachesEverything)
{
    const std::vector<float> plain = run(*worldWithLevel(""), 1000);
    const std::string levels[] = {
        "#_CollVec //X nan //Y 300 //Dx 3000 //Dy 0 //Type 3 //ID 1\n"
        "#_CollVec //X 0 //Y 300 //Dx inf //Dy 0 //Type 3 //ID 2\n"
        "#_CollVec //X -inf //Y 100 //Dx 0 //Dy 300 //Type 3 //ID 3\n"
        "#_CollArc //Position 300 300 //Radius nan //Sector 15 //Flag 31 //speed/distance -1 9\n"
        "#_CollArc //Position inf 300 //Radius 100 //Sector 15 //Flag 31 //speed/distance -1 60\n"
        "#_CollArc //Position 300 300 //Radius -inf //Sector 15 //Flag 31 //speed/distance -1 inf",
        "#_CollVec //X 0 //Y 300 //Dx 1e38 //Dy 1e38 //Type 3 //ID 1\n"
        "#_CollVec //X -3e38 //Y 400 //Dx 3e38 //Dy 1 //Type 3 //ID 2\n"
        "#_CollVec //X 100 //Y 1e39 //Dx 5 //Dy -3e38 //Type 3 //ID 3\n"
        "#_CollArc //Position 200 200 //Radius 3e38 //Sector 15 //Flag 31 //speed/distance -1 "
        "3e38\n"
        "#_CollArc //Position 100 150 //Radius 1 //Sector 15 //Flag 31 //speed/distance -1 1e-38",
        "#_Size 0 0",
        "#_Size -3000 -680",
        "#_Size nan 5",
        "#_Size 1e39 1e39",
    };
    for (const std::string& level : levels) {
        EXPECT_TRUE(run(*worldWithLevel(level), 1000) == plain) << level;
    }
    const auto ringed = worldWithLevel("#_CollArc //Position 60 60 //Radius -3e38 //Sector 15 "
                                       "//Flag 31 //speed/distance -1 3.4e38");
    run(*ringed, 1000);
    EXPECT_LT(ringed->avatar().y, 300.0f); // on the floor without the ring: 401.9
}

} // namespace
