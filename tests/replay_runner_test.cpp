#include "support/TestWorld.h"
#include "tools/replay/StepRunner.h"
#include "tools/replay/TraceWriter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<ScriptEvent> script(const std::string& text)
{
    const ParsedScript parsed = parseInputScript(text, "test.txt");
    EXPECT_EQ(parsed.error, "");
    return parsed.events;
}

int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(StepRunner, StopsAfterTheStepsAskedForAndTracesEachStep)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    std::ostringstream trace;
    TraceWriter writer(trace);
    const ReplayResult result = StepRunner(*world, {}, &writer).run(5);
    EXPECT_EQ(result.end, ReplayEnd::StepLimit);
    EXPECT_EQ(result.stepsRun, 5);
    EXPECT_EQ(countOf(trace.str(), "step "), 5);
    EXPECT_NE(trace.str().find("step 5 hp 3\n"), std::string::npos);

    const ReplayResult none = StepRunner(*world, {}, nullptr).run(0);
    EXPECT_EQ(none.end, ReplayEnd::StepLimit);
    EXPECT_EQ(none.stepsRun, 0);
}

TEST(StepRunner, QueuesAStepsEventsInFileOrderJustBeforeItRuns)
{
    // Step 2's release and press of D, written apart in the file, are handled by step 2 in
    // file order: the avatar ends turned right at speed 120 with D held. Step 3 has not run.
    std::unique_ptr<Game> world = makeHeadlessGame();
    LogCapture log;
    StepRunner(*world, script("2 up d\n3 down up\n2 down d\n"), nullptr).run(2);
    EXPECT_TRUE(world->rightHeld);
    EXPECT_GT(world->avatar().dirX, 0.0f);
    EXPECT_EQ(world->avatar().speed, 120.0f);
    EXPECT_EQ(log.text(), "");

    std::unique_ptr<Game> reversed = makeHeadlessGame();
    StepRunner(*reversed, script("2 down d\n2 up d\n"), nullptr).run(2);
    EXPECT_FALSE(reversed->rightHeld);
    EXPECT_EQ(reversed->avatar().speed, 0.0f);
}

TEST(StepRunner, AQuitEndsTheRunBeforeItsStepWithTheRestOfTheStepQueued)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    std::ostringstream trace;
    TraceWriter writer(trace);
    const ReplayResult result =
        StepRunner(*world, script("1 down left\n3 down up\n3 quit\n3 down d\n"), &writer).run(100);
    EXPECT_EQ(result.end, ReplayEnd::Quit);
    EXPECT_EQ(result.stepsRun, 2);
    EXPECT_EQ(countOf(trace.str(), "step "), 2);
    ASSERT_EQ(world->inputQueue.size(), 2u);
    EXPECT_EQ(world->inputQueue[0].sdlEvent.key.keysym.sym, SDLK_UP);
    EXPECT_EQ(world->inputQueue[1].sdlEvent.key.keysym.sym, SDLK_d);
}

TEST(StepRunner, TheWinIsTheMainLoopsAndDoesNotWaitForTheConsole)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    placeAvatar(*world, 2799.0f, 100.0f, 120.0f, 1.0f, 0.0f);
    LogCapture log;
    StepRunner runner(*world, script("1 down backquote\n"), nullptr);
    EXPECT_EQ(world->readConsoleChar(), '\n'); // answered at once, nothing read
    const ReplayResult result = runner.run(std::nullopt);
    EXPECT_EQ(result.end, ReplayEnd::Win);
    EXPECT_EQ(result.stepsRun, 1);
    EXPECT_EQ(log.text(), "You win!\n");
    EXPECT_TRUE(world->rightHeld);
}

TEST(StepRunner, DeathEndsTheRunAfterTheStepThatPrintedIt)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    world->player.hp = 1;
    Entity& avatar = world->avatar();
    Entity& enemy = *world->enemies().front();
    avatar.x = enemy.x - 40.0f;
    avatar.y = enemy.y;
    LogCapture log;
    const ReplayResult result = StepRunner(*world, {}, nullptr).run(std::nullopt);
    EXPECT_EQ(result.end, ReplayEnd::Death);
    EXPECT_EQ(result.stepsRun, 1);
    EXPECT_EQ(log.text().substr(log.text().size() - 7), "you die");
}

} // namespace
