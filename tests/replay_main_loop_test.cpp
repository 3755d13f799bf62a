// The replay must be the game: a run of the main loop's own code path, with the script's
// events pushed through SDL's event queue and drained by pollEvents before each step, gives
// the same trace and the same log as quillfen-replay for the same script.

#include "app/MainLoop.h"
#include "level/LevelLoader.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"
#include "tools/replay/StepRunner.h"
#include "tools/replay/TraceWriter.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <sstream>

namespace {

TEST(ReplayMainLoop, TheMainLoopsCodePathGivesTheReplaysTraceAndLog)
{
    const int64_t steps = 260;
    const std::string scriptFile = testReplaysDir() + "/main_loop.txt";
    const ParsedScript script = readInputScript(scriptFile);
    ASSERT_EQ(script.error, "");
    ScratchDirectory folder;
    std::ostringstream trace;
    std::string log;
    {
        // SDL's own event queue, without a display.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        resetProcessState();
        ScopedWorkingDirectory inFolder(folder.path());
        LogCapture capture;
        Game world(RenderMode::Headless);
        world.readConsoleChar = [] { return int{'\n'}; };
        loadLevel(world);
        TraceWriter writer(trace);
        writer.writeStart(world);
        // The main loop's steps without its clock: push the step's events into SDL, poll them
        // as the main loop does, and run the step of work unless a quit was polled.
        for (int64_t step = 1; step <= steps; ++step) {
            for (const ScriptEvent& event : script.events) {
                SDL_Event sdlEvent = toSdlEvent(event);
                EXPECT_TRUE(event.step != step || SDL_PushEvent(&sdlEvent) == 0) << SDL_GetError();
            }
            if (pollEvents(world)) {
                break;
            }
            const bool over = stepWorld(world);
            writer.writeStep(step, world);
            if (over) {
                break;
            }
        }
        log = capture.text();
        SDL_Quit();
    }

    const ReplayRun replay = runReplayTool(
        "--dir " + quoted(folder.path()) + " --steps " + std::to_string(steps) + " --input " +
            quoted(scriptFile) + " --trace " + quoted(folder.file("trace.txt")),
        folder.path());
    ASSERT_EQ(replay.status, 0) << replay.errors;
    EXPECT_NE(replay.errors.find("stopped after step 199: the script quit"), std::string::npos)
        << replay.errors;
    EXPECT_EQ(log, replay.log);
    EXPECT_TRUE(trace.str() == readWholeFile(folder.file("trace.txt"))) << "The traces differ.";
    // The script did something worth comparing: it shot and switched weapons.
    EXPECT_NE(log.find("middle"), std::string::npos);
    EXPECT_NE(log.find("Weapon switched up\n"), std::string::npos);
}

} // namespace
