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

constexpr int64_t kSteps = 260;

// SDL's own event queue, without a display: the dummy video driver.
class SdlEvents {
public:
    SdlEvents()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        started = SDL_Init(SDL_INIT_VIDEO) == 0;
    }
    ~SdlEvents() { SDL_Quit(); }
    SdlEvents(const SdlEvents&) = delete;
    SdlEvents& operator=(const SdlEvents&) = delete;

    bool started = false;
};

int waitsOnTheConsole() { return '\n'; }

// The main loop's steps without its clock: push the step's events into SDL, poll them as the
// main loop does, and run the step of work unless a quit was polled.
void runThroughTheMainLoop(const std::vector<ScriptEvent>& events, const std::string& folder,
                           std::string& trace, std::string& log)
{
    resetProcessState();
    ScopedWorkingDirectory inFolder(folder);
    LogCapture capture;
    Game world(RenderMode::Headless);
    world.readConsoleChar = waitsOnTheConsole;
    loadLevel(world);
    std::ostringstream traceText;
    TraceWriter writer(traceText);
    writer.writeStart(world);
    for (int64_t step = 1; step <= kSteps; ++step) {
        for (const ScriptEvent& event : events) {
            if (event.step == step) {
                SDL_Event sdlEvent = toSdlEvent(event);
                ASSERT_EQ(SDL_PushEvent(&sdlEvent), 0) << SDL_GetError();
            }
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
    trace = traceText.str();
    log = capture.text();
}

TEST(ReplayMainLoop, TheMainLoopsCodePathGivesTheReplaysTraceAndLog)
{
    SdlEvents sdl;
    ASSERT_TRUE(sdl.started) << SDL_GetError();
    const std::string scriptFile = testReplaysDir() + "/main_loop.txt";
    const ParsedScript script = readInputScript(scriptFile);
    ASSERT_EQ(script.error, "");
    ScratchDirectory folder;

    std::string mainLoopTrace;
    std::string mainLoopLog;
    runThroughTheMainLoop(script.events, folder.path(), mainLoopTrace, mainLoopLog);

    const ReplayRun replay = runReplayTool(
        "--dir " + quoted(folder.path()) + " --steps " + std::to_string(kSteps) + " --input " +
            quoted(scriptFile) + " --trace " + quoted(folder.file("trace.txt")),
        folder.path());
    ASSERT_EQ(replay.status, 0) << replay.errors;
    EXPECT_NE(replay.errors.find("stopped after step 199: the script quit"), std::string::npos)
        << replay.errors;
    EXPECT_EQ(mainLoopLog, replay.log);
    const std::string replayTrace = readWholeFile(folder.file("trace.txt"));
    EXPECT_TRUE(mainLoopTrace == replayTrace) << "The traces differ.";
    // The script did something worth comparing: it moved, jumped, shot and printed.
    EXPECT_NE(replayTrace.find("step 199 "), std::string::npos);
    EXPECT_EQ(replayTrace.find("step 200 "), std::string::npos);
    EXPECT_NE(replay.log.find("middle"), std::string::npos);
    EXPECT_NE(replay.log.find("Weapon switched up\n"), std::string::npos);
}

} // namespace
