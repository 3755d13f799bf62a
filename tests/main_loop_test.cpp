#include "app/MainLoop.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

// A clock that moves one millisecond per reading and closes the window at 15 seconds.
Uint32 ticks = 0;
Uint32 oneMillisecondPerReading()
{
    if (++ticks == 15000) {
        SDL_Event close{};
        close.type = SDL_QUIT;
        SDL_PushEvent(&close);
    }
    if (ticks > 20000) {
        throw std::runtime_error("The main loop did not end on the window close.");
    }
    return ticks;
}

TEST(MainLoop, StepsSixteenMillisecondsApartAndCountsTheStepsOfEachReportAfresh)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    const auto game = makeHeadlessGame();
    LogCapture log;
    char caption[] = "Quillfen";
    ticks = 30;
    runMainLoop(*game, caption, oneMillisecondPerReading);
    SDL_Quit();
    // A step is due at once (at 31) and reads the clock twice more (report, end): one every 18
    // ms. The report at 5000 counts the 276 steps before it; its own step starts the next.
    EXPECT_EQ(log.text(), "276 frames in 5 seconds = 55.2 FPS\n"
                          "278 frames in 5.004 seconds = 55.5556 FPS\n");
}

TEST(MainLoop, OnlyAPositionPastTheLineWins)
{
    const auto game = makeHeadlessGame();
    for (const float x : {2800.0f, std::nanf("")}) {
        game->avatar().x = x;
        EXPECT_FALSE(avatarHasWon(*game)) << x;
    }
    game->avatar().x = std::nextafter(2800.0f, 3000.0f);
    EXPECT_TRUE(avatarHasWon(*game));
}

} // namespace
