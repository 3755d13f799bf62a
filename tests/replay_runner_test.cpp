// How the step runner queues a script's events and ends a run; step counts, traces and the
// win are checked through the replay tool's golden and scripted runs.

#include "support/TestWorld.h"
#include "tools/replay/StepRunner.h"

#include <gtest/gtest.h>

namespace {

std::vector<ScriptEvent> script(const std::string& text)
{
    const ParsedScript parsed = parseInputScript(text, "test.txt");
    EXPECT_EQ(parsed.error, "");
    return parsed.events;
}

TEST(StepRunner, QueuesAStepsEventsInFileOrderJustBeforeItRunsAndStopsBeforeAQuitsStep)
{
    // Step 2's release and press of D, written apart in the file, are handled by step 2 in
    // file order: the avatar ends turned right at speed 120 with D held.
    std::unique_ptr<Game> world = makeHeadlessGame();
    LogCapture log;
    StepRunner(*world, script("2 up d\n4 down up\n2 down d\n"), nullptr).run(2);
    EXPECT_TRUE(world->rightHeld);
    EXPECT_GT(world->avatar().dirX, 0.0f);
    EXPECT_EQ(world->avatar().speed, 120.0f);
    EXPECT_EQ(log.text(), "");

    // The rest of the quit's step is queued but never handled; step 3 does not run.
    world = makeHeadlessGame();
    const ReplayResult result =
        StepRunner(*world, script("2 down d\n2 up d\n3 down up\n3 quit\n3 down d\n"), nullptr)
            .run(100);
    EXPECT_EQ(result.end, ReplayEnd::Quit);
    EXPECT_EQ(result.stepsRun, 2);
    EXPECT_FALSE(world->rightHeld);
    EXPECT_EQ(world->avatar().speed, 0.0f);
    ASSERT_EQ(world->inputQueue.size(), 2u);
    EXPECT_EQ(world->inputQueue[0].sdlEvent.key.keysym.sym, SDLK_UP);
    EXPECT_EQ(world->inputQueue[1].sdlEvent.key.keysym.sym, SDLK_d);
}

TEST(StepRunner, DeathEndsTheRunAfterTheStepThatPrintedIt)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    world->player.hp = 1;
    Entity& enemy = *world->enemies().front();
    world->avatar().x = enemy.x - 40.0f;
    world->avatar().y = enemy.y;
    LogCapture log;
    const ReplayResult result = StepRunner(*world, {}, nullptr).run(std::nullopt);
    EXPECT_EQ(result.end, ReplayEnd::Death);
    EXPECT_EQ(result.stepsRun, 1);
    const std::string text = log.text();
    EXPECT_EQ(text.substr(text.size() - 7), "you die");
}

} // namespace
