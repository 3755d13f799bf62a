#include "level/CharSource.h"
#include "level/LevelLoader.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A fresh headless world in the bundled assets with the level text read from memory.
std::unique_ptr<Game> worldWithLevel(const std::string& text)
{
    auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir());
    CharSource source(text.data(), text.size());
    LogCapture quiet;
    readLevel(*game, source);
    return game;
}

// Runs the world with D held, a jump and a shot now and then and the avatar kept alive
// whatever it meets, failing at the first entity that leaves the numbers. Gives where every
// entity stood after each step.
std::vector<float> run(Game& game, int steps)
{
    ScopedWorkingDirectory inAssets(assetsDir());
    LogCapture quiet;
    std::vector<float> places;
    game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_d));
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
        if (step % 50 == 25) {
            game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_SPACE));
            game.inputQueue.push_back(mouseEvent(game, SDL_BUTTON_LEFT, 600, 100));
        }
        game.player.hp = 1000;
        game.frameStep();
        for (const EntityList& list : game.entityLists) {
            for (const auto& entity : list) {
                // A position may run off to infinity at a speed near the float maximum.
                EXPECT_TRUE(!std::isnan(entity->x) && !std::isnan(entity->y) &&
                            std::isfinite(entity->dirX) && std::isfinite(entity->dirY) &&
                            std::isfinite(entity->speed))
                    << "Entity " << entity->id << " left the numbers at step " << step << ".";
                places.push_back(entity->x);
                places.push_back(entity->y);
            }
        }
    }
    return places;
}

// "%f" reads nan and inf, and the loader builds the shapes as written: they fail every
// contact test, so the world runs exactly as without them.
TEST(HostileLevel, ShapesOfNanOrInfinityNeverTouchAnything)
{
    const auto odd = worldWithLevel(
        "#_CollVec //X nan //Y 300 //Dx 3000 //Dy 0 //Type 3 //ID 1\n"
        "#_CollVec //X 0 //Y 300 //Dx inf //Dy 0 //Type 3 //ID 2\n"
        "#_CollVec //X -inf //Y 100 //Dx 0 //Dy 300 //Type 3 //ID 3\n"
        "#_CollArc //Position 300 300 //Radius nan //Sector 15 //Flag 31 //speed/distance -1 9\n"
        "#_CollArc //Position inf 300 //Radius 100 //Sector 15 //Flag 31 //speed/distance -1 60\n"
        "#_CollArc //Position 300 300 //Radius -inf //Sector 15 //Flag 31 "
        "//speed/distance -1 inf\n");
    ASSERT_EQ(odd->lines.size(), 39u);
    ASSERT_EQ(odd->arcs.size(), 9u);
    const std::vector<float> withShapes = run(*odd, 600);
    const std::vector<float> without = run(*worldWithLevel(""), 600);
    EXPECT_TRUE(withShapes == without);
}

TEST(HostileLevel, HugeNumbersAndWorldsOfNoSizeNeverPutANaNIntoAnEntity)
{
    const std::string levels[] = {
        "#_Image bitmap2.bmp\n"
        "#_CollVec //X 0 //Y 300 //Dx 1e38 //Dy 1e38 //Type 3 //ID 1\n"
        "#_CollVec //X -3e38 //Y 400 //Dx 3e38 //Dy 1 //Type 3 //ID 2\n"
        "#_CollVec //X 100 //Y 1e39 //Dx 5 //Dy -3e38 //Type 3 //ID 3\n"
        "#_CollArc //Position 200 200 //Radius 3e38 //Sector 15 //Flag 31 "
        "//speed/distance -1 3e38\n"
        "#_CollArc //Position 100 150 //Radius 1 //Sector 15 //Flag 31 //speed/distance -1 1e-38\n"
        "#_CollArc //Position 60 60 //Radius -3e38 //Sector 15 //Flag 31 "
        "//speed/distance -1 3.4e38\n",
        "#_Size 0 0",
        "#_Size -3000 -680",
        "#_Size nan 5",
        "#_Size 1e39 1e39",
    };
    for (const std::string& level : levels) {
        SCOPED_TRACE(level);
        run(*worldWithLevel(level), 1000);
    }
}

} // namespace
