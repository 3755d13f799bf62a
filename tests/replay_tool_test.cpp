// quillfen-replay and the game it replays: golden runs, committed scripts, bad requests.

#include "app/MainLoop.h"
#include "level/LevelLoader.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"
#include "tools/replay/StepRunner.h"
#include "tools/replay/TraceWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <tuple>

namespace {

// Runs the tool in `dir`; its trace and log must be the golden `name`.trace and `name`.log (an
// empty trace: the game ended while it was built, status 1). QUILLFEN_UPDATE_GOLDEN=1 rewrites
// them after a deliberate change of the game: review the difference before committing it.
ReplayRun expectGoldenRun(const std::string& name, const std::string& dir,
                          const std::string& options)
{
    ScratchDirectory folder;
    const std::string trace = folder.file("trace.txt");
    const ReplayRun run = runReplayTool(
        "--dir " + quoted(dir) + " --trace " + quoted(trace) + " " + options, folder.path());
    const std::string path = goldenDir() + "/" + name;
    if (std::getenv("QUILLFEN_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path + ".trace", std::ios::binary) << readWholeFile(trace);
        std::ofstream(path + ".log", std::ios::binary) << run.log;
    }
    const std::string golden = readWholeFile(path + ".trace");
    EXPECT_EQ(run.status, golden.empty() ? 1 : 0) << name << ": " << run.errors;
    EXPECT_EQ(firstTraceDifference(readWholeFile(trace), golden), "") << path << ".trace";
    EXPECT_EQ(firstTraceDifference(run.log, readWholeFile(path + ".log")), "") << path << ".log";
    return run;
}

// Scripted runs over the built-in scene (a folder with the bitmaps and no Level.txt) and over
// the bundled level. Without level.bmp the game is the same; only standard error tells of it.
TEST(ReplayTool, GoldenRunsOverTheBuiltinSceneAndTheBundledLevel)
{
    ScratchDirectory scene;
    const std::string input = " --input " + quoted(assetsDir() + "/..") + "/";
    expectGoldenRun("idle-120", scene.path(), "--steps 120");
    expectGoldenRun("loop-300", scene.path(), "--steps 300" + input + "tests/replays/loop.txt");
    expectGoldenRun("commands-240", scene.path(),
                    "--steps 240" + input + "tests/replays/commands.txt");
    expectGoldenRun("main-loop-260", scene.path(),
                    "--steps 260" + input + "tests/replays/main_loop.txt");
    expectGoldenRun("bundled-level-200", assetsDir(),
                    "--steps 200" + input + "assets/replays/win-bundled-level.txt");
    std::filesystem::remove(scene.file("level.bmp"));
    const std::string errors = expectGoldenRun("idle-120", scene.path(), "--steps 120").errors;
    EXPECT_NE(errors.substr(0, errors.find('\n')).find("level.bmp"), std::string::npos);
    EXPECT_EQ(errors.substr(errors.find('\n') + 1),
              "quillfen-replay: stopped after step 120: the steps asked for have run\n");
}

// Each level of tests/levels/ run one step: its echo, what it added, its size (the camera's
// clamp). Binary bytes are words; a word ends at a NUL byte and is cut at 254 characters, the
// rest of its run dropped, so the end of a megabyte is no header.
TEST(ReplayTool, LevelsEchoAndAddWhatTheirRecordsHold)
{
    std::vector<std::pair<std::string, std::string>> levels; // golden name, level text
    for (const auto& entry :
         std::filesystem::directory_iterator(assetsDir() + "/../tests/levels")) {
        levels.emplace_back(entry.path().stem().string(), readWholeFile(entry.path().string()));
    }
    std::mt19937 random(7);
    std::string binary;
    for (int byte = 0; byte < (1 << 16); ++byte) {
        binary += static_cast<char>(random());
    }
    levels.emplace_back("line-cut-short", binary + " #_CollVec //X 5");
    levels.emplace_back("line-cut-short", std::string("#_CollVec\0junk //X 5", 20));
    levels.emplace_back("notes-only", std::string(254 * 4128, 'w') + "#_Size 100 200\n");
    for (const auto& [name, text] : levels) {
        ScratchDirectory dir;
        dir.write("Level.txt", text);
        expectGoldenRun("levels/" + name, dir.path(), "--steps 1");
    }
}

// The committed scripts: the bundled level won without a hit (the cap makes a script that no
// longer wins fail); both enemies shot and a new one, id 13; a walk into them to the death;
// with --steps 0 only the world built and the level loaded.
TEST(ReplayTool, TheCommittedScriptsWinShootUntilANewEnemyComesAndDie)
{
    ScratchDirectory scene;
    const std::string runs[][5] = {
        {assetsDir(), "/replays/win-bundled-level.txt", "2000", "1181: the player won",
         "You win!\n"},
        {scene.path(), "/replays/shoot-until-spawn.txt", "2000", "1009: the script quit", "\n"},
        {scene.path(), "/../tests/replays/death.txt", "2000", "1192: the player died", "you die"},
        {scene.path(), "/../tests/replays/death.txt", "0", "0: the steps asked for have run",
         "File Failed to load....\n"}};
    for (const auto& [dir, script, steps, end, lastWords] : runs) {
        const ReplayRun run =
            runReplayTool("--dir " + quoted(dir) + " --steps " + steps + " --input " +
                              quoted(assetsDir() + script) + " --trace " +
                              quoted(scene.file(script.substr(script.rfind('/') + 1))),
                          scene.path());
        EXPECT_EQ(run.errors, "quillfen-replay: stopped after step " + end + "\n");
        EXPECT_EQ(run.log.substr(run.log.size() - lastWords.size()), lastWords);
    }
    EXPECT_NE(readWholeFile(scene.file("win-bundled-level.txt")).find("\nstep 1181 hp 3\n"),
              std::string::npos);
    const std::string shot = readWholeFile(scene.file("shoot-until-spawn.txt"));
    EXPECT_NE(shot.find("\ne 2 13 ", shot.rfind("step ")), std::string::npos);
}

// Nothing is run or traced: status 2 for bad options and scripts, the error first on standard
// error (a script's alone on its line); status 1 for a folder or pictures that cannot be used.
TEST(ReplayTool, RefusesBadRequestsAndFailsWithoutThePictures)
{
    ScratchDirectory folder;
    ScratchDirectory noTile;
    std::filesystem::remove(noTile.file("tile.bmp"));
    const std::string tool = "quillfen-replay: ";
    const std::string image = "zomg h4x Image failed to load or something cool like that";
    // clang-format off
    std::vector<std::tuple<std::string, std::string, int>> requests = {
        {"--trace -", tool + "--trace - is not allowed", 2},
        {"--steps -1", tool + "--steps needs a whole number of steps (0 or more), not '-1'", 2},
        {"--steps", tool + "--steps needs a value", 2},
        {"--steps 99999999999", tool + "--steps 99999999999 is too large", 2},
        {"--fast", tool + "unknown option '--fast'", 2},
        {"--input /", "/: cannot read the input script", 2},
        {"--dir /nonexistent-quillfen", tool + "cannot work in /nonexistent-quillfen", 1},
        {"--dir " + quoted(noTile.path()), tool + image + " (tile.bmp)", 1}};
    // Script lines (on line 2 of their scripts) and their errors.
    const std::pair<std::string, std::string> lines[] = {
        {"5 down w", "unknown key 'w' (expected a, d, space, backquote, up, down, left, right "
                     "or an SDL 1.2 key number from 0 to 322)"},
        {"5 down 323", "unknown key '323'"},
        {"5 up", "missing key after 'up'"},
        {"-3 down d", "step number '-3' is negative; steps count from 1"},
        {"0 down d", "step number 0: steps count from 1"},
        {"-0 quit", "step number 0: steps count from 1"},
        {"down d", "expected a step number at the start of the line, found 'down'"},
        {"2147483648 quit", "step number '2147483648' is too large (at most 2147483647)"},
        {"7", "missing event after the step number (down, up, click or quit)"},
        {"7 jump", "unknown event 'jump' (expected down, up, click or quit)"},
        {"7 quit now", "unexpected 'now' after the quit event"},
        {"7 click", "missing button after 'click'"},
        {"7 click left", "missing x of the click (x must be a window pixel from 0 to 639)"},
        {"7 click left 10", "missing y of the click (y must be a window pixel from 0 to 479)"},
        {"7 click left 640 10", "x must be a window pixel from 0 to 639, found '640'"},
        {"7 click left 10 480", "y must be a window pixel from 0 to 479, found '480'"},
        {"7 click 256 1 1", "unknown button '256'"},
        {"\x01\x02\xff" + std::string(42, 'z'), "expected a step number at the start of the "
                                              "line, found '???" + std::string(37, 'z') + "...'"},
        {std::string("2 down d\0\x7f" "ELF", 13), "unknown key 'd??ELF'"}};
    // clang-format on
    for (const auto& [line, error] : lines) {
        const std::string script = folder.file("script" + std::to_string(requests.size()));
        folder.write(script.substr(folder.path().size() + 1), "# fine\n" + line + "\n3 quit\n");
        requests.emplace_back("--input " + quoted(script), script + ":2: " + error, 2);
    }
    for (const auto& [request, error, status] : requests) {
        const ReplayRun run =
            runReplayTool("--dir " + quoted(folder.path()) + " --steps 0 --trace " +
                              quoted(folder.file("trace.txt")) + " " + request,
                          folder.path());
        EXPECT_EQ(run.status, status) << request;
        EXPECT_EQ(run.errors.substr(0, error.size()), error) << request;
        if (request.rfind("--input", 0) == 0) {
            EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
        }
        EXPECT_EQ(run.log, "");
        EXPECT_EQ(std::filesystem::remove(folder.file("trace.txt")), status == 1) << request;
    }
}

// The replay is the game: the main loop's code path, the script's events pushed through SDL's
// event queue and drained by pollEvents, gives the tool's golden trace and log of the script.
TEST(ReplayMainLoop, TheMainLoopsCodePathGivesTheReplaysGoldenTraceAndLog)
{
    const ParsedScript script = readInputScript(testReplaysDir() + "/main_loop.txt");
    ScratchDirectory folder;
    std::ostringstream trace;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    resetProcessState();
    ScopedWorkingDirectory inFolder(folder.path());
    LogCapture log;
    Game world(RenderMode::Headless);
    world.readConsoleChar = noConsoleWait;
    loadLevel(world);
    TraceWriter writer(trace);
    writer.writeStart(world);
    // The main loop's steps without its clock; a polled quit ends the run before its step.
    for (int64_t step = 1; step <= 260; ++step) {
        for (const ScriptEvent& event : script.events) {
            SDL_Event sdlEvent = toSdlEvent(event);
            EXPECT_TRUE(event.step != step || SDL_PushEvent(&sdlEvent) == 0) << SDL_GetError();
        }
        if (pollEvents(world)) {
            break;
        }
        stepWorld(world); // the script neither wins nor dies
        writer.writeStep(step, world);
    }
    SDL_Quit();
    const std::string golden = goldenDir() + "/main-loop-260";
    EXPECT_EQ(firstTraceDifference(trace.str(), readWholeFile(golden + ".trace")), "");
    EXPECT_EQ(firstTraceDifference(log.text(), readWholeFile(golden + ".log")), "");
}

} // namespace
