#include "level/CharSource.h"
#include "level/LevelLoader.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>

namespace {

// A headless world with the level text read from memory; the log is discarded.
std::unique_ptr<Game> worldWithLevel(const std::string& text)
{
    auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir());
    CharSource source(text.data(), text.size());
    LogCapture quiet;
    readLevel(*game, source);
    return game;
}

// Runs the world with D held and a shot now and then, failing at the first entity whose
// direction or speed is not a finite number or whose position is not a number. (A position
// may run off to infinity after enough steps at a speed near the float maximum.)
void expectEveryEntityStaysFinite(Game& game, int steps)
{
    ScopedWorkingDirectory inAssets(assetsDir());
    LogCapture quiet;
    game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_d));
    for (int step = 0; step < steps; ++step) {
        if (step % 50 == 25) {
            game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_SPACE));
            game.inputQueue.push_back(mouseEvent(game, SDL_BUTTON_LEFT, 600, 100));
        }
        game.player.hp = 1000; // keep the run going whatever it meets
        game.frameStep();
        for (const EntityList& list : game.entityLists) {
            for (const auto& entity : list) {
                const bool sound = !std::isnan(entity->x) && !std::isnan(entity->y) &&
                                   std::isfinite(entity->dirX) && std::isfinite(entity->dirY) &&
                                   std::isfinite(entity->speed);
                ASSERT_TRUE(sound)
                    << "Entity " << entity->id << " left the numbers at step " << step << ".";
            }
        }
    }
}

TEST(HostileLevel, HugeButFiniteShapesNeverPutANaNIntoAnEntity)
{
    const auto game = worldWithLevel(
        "#_Image bitmap2.bmp\n"
        "#_CollVec //X 0 //Y 300 //Dx 1e38 //Dy 1e38 //Type 3 //ID 1\n"
        "#_CollVec //X -3e38 //Y 400 //Dx 3e38 //Dy 1 //Type 3 //ID 2\n"
        "#_CollVec //X 100 //Y 1e39 //Dx 5 //Dy -3e38 //Type 3 //ID 3\n"
        "#_CollArc //Position 200 200 //Radius 3e38 //Sector 15 //Flag 31 "
        "//speed/distance -1 3e38\n"
        "#_CollArc //Position 100 150 //Radius 1 //Sector 15 //Flag 31 //speed/distance -1 1e-38\n"
        "#_CollArc //Position 60 60 //Radius -3e38 //Sector 15 //Flag 31 "
        "//speed/distance -1 3.4e38\n");
    expectEveryEntityStaysFinite(*game, 1500);
}

TEST(HostileLevel, AWorldOfNoSizeOrNegativeSizeStillRuns)
{
    for (const char* size : {"0 0", "-3000 -680", "nan 5", "1e39 1e39"}) {
        SCOPED_TRACE(size);
        const auto game = worldWithLevel(std::string("#_Size ") + size);
        expectEveryEntityStaysFinite(*game, 300);
    }
}

// Levels of random shapes with numbers from the whole float range, the extremes included.
TEST(HostileLevel, RandomLevelsOfExtremeNumbersNeverPutANaNIntoAnEntity)
{
    std::mt19937 random(20261206);
    const char* const extremes[] = {"0",   "-0",  "1e-45", "1e-38", "3.4e38", "-3.4e38", "1e39",
                                    "nan", "inf", "-inf",  "64",    "-64",    "0.5"};
    auto number = [&]() -> std::string {
        if (random() % 3 == 0) {
            return extremes[random() % std::size(extremes)];
        }
        std::ostringstream text;
        text << std::uniform_real_distribution<float>(-800.0f, 3200.0f)(random);
        return text.str();
    };
    for (int level = 0; level < 12; ++level) {
        std::ostringstream text;
        for (int shape = 0; shape < 12; ++shape) {
            text << "#_CollVec //X " << number() << " //Y " << number() << " //Dx " << number()
                 << " //Dy " << number() << " //Type " << random() % 4 << " //ID 0\n";
            text << "#_CollArc //Position " << number() << " " << number() << " //Radius "
                 << number() << " //Sector " << random() % 16 << " //Flag " << random() % 32
                 << " //speed/distance " << number() << " " << number() << "\n";
        }
        SCOPED_TRACE(text.str());
        const auto game = worldWithLevel(text.str());
        expectEveryEntityStaysFinite(*game, 400);
    }
}

} // namespace
