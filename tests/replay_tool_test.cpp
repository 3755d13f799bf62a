// Runs the quillfen-replay tool itself: golden runs, the committed scripts, bad requests.

#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// A run over the built-in scene: a folder with the bitmaps and no Level.txt.
ReplayRun runOnBuiltinScene(const ScratchDirectory& folder, const std::string& options)
{
    return runReplayTool("--dir " + quoted(folder.path()) + " --trace " +
                             quoted(folder.file("trace.txt")) + " " + options,
                         folder.path());
}

// Compares with the committed expectation, or rewrites it when QUILLFEN_UPDATE_GOLDEN is set
// (after a deliberate change of the game's behaviour; review the difference before committing).
void expectGolden(const std::string& actual, const std::string& goldenName)
{
    const std::string path = goldenDir() + "/" + goldenName;
    if (std::getenv("QUILLFEN_UPDATE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    ASSERT_TRUE(fileExists(path)) << path;
    EXPECT_TRUE(actual == readWholeFile(path))
        << "The run differs from " << path << "; compare them with diff.";
}

struct GoldenRun {
    const char* name;
    const char* script; // a path from the repository's root, or null for no input
    int steps;
    bool bundledLevel; // run in assets/ with its Level.txt, or on the built-in scene alone
};

// Short scripted runs, traces and logs compared with committed ones: over the built-in scene
// (a folder with the bitmaps and no Level.txt) and over the bundled level in assets/.
TEST(ReplayTool, GoldenRunsOverTheBuiltinSceneAndTheBundledLevel)
{
    const GoldenRun runs[] = {
        {"idle-120", nullptr, 120, false},
        {"loop-300", "tests/replays/loop.txt", 300, false},
        {"commands-240", "tests/replays/commands.txt", 240, false},
        {"bundled-level-200", "assets/replays/win-bundled-level.txt", 200, true},
    };
    for (const GoldenRun& golden : runs) {
        SCOPED_TRACE(golden.name);
        ScratchDirectory folder;
        const std::string game = golden.bundledLevel ? assetsDir() : folder.path();
        std::string options = "--dir " + quoted(game) + " --trace " +
                              quoted(folder.file("trace.txt")) + " --steps " +
                              std::to_string(golden.steps);
        if (golden.script != nullptr) {
            options += " --input " + quoted(assetsDir() + "/../" + golden.script);
        }
        const ReplayRun run = runReplayTool(options, folder.path());
        ASSERT_EQ(run.status, 0) << run.errors;
        expectGolden(readWholeFile(folder.file("trace.txt")), std::string(golden.name) + ".trace");
        expectGolden(run.log, std::string(golden.name) + ".log");
    }
}

// The last block of a trace, from its "step" line on.
std::string lastBlock(const std::string& trace) { return trace.substr(trace.rfind("step ")); }

TEST(ReplayTool, TheWinningScriptWinsTheBundledLevelWithoutWaitingForTheConsole)
{
    ScratchDirectory folder;
    // The script wins at step 1181; the cap turns a script that no longer wins into a failure
    // instead of a run that never ends.
    const ReplayRun run = runReplayTool("--dir " + quoted(assetsDir()) + " --steps 2000 --trace " +
                                            quoted(folder.file("trace.txt")) + " --input " +
                                            quoted(assetsDir() + "/replays/win-bundled-level.txt"),
                                        folder.path());
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.log.substr(run.log.size() - 9), "You win!\n");
    EXPECT_NE(run.errors.find("the player won"), std::string::npos) << run.errors;
    // The avatar, with all its hit points, past the winning line.
    const std::string last = lastBlock(readWholeFile(folder.file("trace.txt")));
    EXPECT_NE(last.find(" hp 3\n"), std::string::npos) << last;
    EXPECT_GT(std::stof(last.substr(last.find("\ne 1 3 ") + 7)), 2800.0f) << last;
}

TEST(ReplayTool, TheShootingScriptKillsBothEnemiesAndANewOneSpawns)
{
    ScratchDirectory folder;
    const ReplayRun run = runOnBuiltinScene(
        folder, "--input " + quoted(assetsDir() + "/replays/shoot-until-spawn.txt"));
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("the script quit"), std::string::npos) << run.errors;
    EXPECT_EQ(run.log.find("you die"), std::string::npos);

    // The new enemy, id 13, comes in the step that shot the last of the first two: in the
    // block before, an enemy is left; in its own block, only the new one.
    const std::string trace = readWholeFile(folder.file("trace.txt"));
    const size_t spawn = trace.find("\ne 2 13 ");
    ASSERT_NE(spawn, std::string::npos) << "No new enemy appeared.";
    const size_t spawnBlock = trace.rfind("step ", spawn);
    const size_t blockBefore = trace.rfind("step ", spawnBlock - 1);
    EXPECT_NE(trace.substr(blockBefore, spawnBlock - blockBefore).find("\ne 2 "),
              std::string::npos);
    const std::string block = trace.substr(spawnBlock, trace.find("step ", spawn) - spawnBlock);
    EXPECT_EQ(block.find("\ne 2 4 "), std::string::npos) << block;
    EXPECT_EQ(block.find("\ne 2 5 "), std::string::npos) << block;
    EXPECT_NE(lastBlock(trace).find("\ne 1 3 "), std::string::npos) << "The avatar is there.";
    // The new enemy's picture is loaded like every other: one more line on the log.
    int conversions = 0;
    for (size_t at = run.log.find("No alpha mask"); at != std::string::npos;
         at = run.log.find("No alpha mask", at + 1)) {
        ++conversions;
    }
    EXPECT_EQ(conversions, 7);
}

TEST(ReplayTool, StepsZeroOnlyBuildsTheWorldAndLoadsTheLevel)
{
    ScratchDirectory folder;
    const ReplayRun run = runOnBuiltinScene(folder, "--steps 0");
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string trace = readWholeFile(folder.file("trace.txt"));
    EXPECT_EQ(trace.rfind("step 0 hp 3\nc 0 0\ne 1 3 50 50 ", 0), 0u);
    EXPECT_EQ(trace.find("step 1 "), std::string::npos);
    EXPECT_NE(trace.find("\na 1400 360 100 1 10 60 -1\n"), std::string::npos);
    EXPECT_NE(run.log.find("File Failed to load....\n"), std::string::npos) << run.log;
}

TEST(ReplayTool, AFolderWithoutTheGamesPicturesFailsWithStatusOne)
{
    ScratchDirectory folder;
    std::filesystem::remove(folder.file("tile.bmp"));
    const std::pair<std::string, std::string> runs[] = {
        {"/nonexistent-quillfen", "quillfen-replay: cannot work in /nonexistent-quillfen"},
        {folder.path(), "quillfen-replay: zomg h4x Image failed to load or something cool like "
                        "that (tile.bmp)"},
    };
    for (const auto& [directory, error] : runs) {
        const ReplayRun run = runReplayTool("--dir " + quoted(directory), folder.path());
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find(error), std::string::npos) << run.errors;
    }
}

// Bad options and bad scripts, even a binary file: status 2, nothing run, the error first on
// standard error (the usage may follow a bad option; a script's error stands alone on its
// line). The parser's messages are checked one by one with the parser.
TEST(ReplayTool, BadOptionsAndScriptsAreRefusedWithStatusTwoAndNothingRun)
{
    ScratchDirectory folder;
    const std::string bad = folder.file("bad.txt");
    const std::string binary = folder.file("binary.bin");
    folder.write("bad.txt", "# fine\n\n-4 down d\n");
    folder.write("binary.bin", std::string("\x7f"
                                           "ELF\x02\x01\x01\0\0\0\n",
                                           11));
    const std::string trace = " --trace " + quoted(folder.file("trace.txt"));
    const std::pair<std::string, std::string> requests[] = {
        {"--trace -", "quillfen-replay: --trace - is not allowed"},
        {"--steps -1",
         "quillfen-replay: --steps needs a whole number of steps (0 or more), not '-1'"},
        {"--steps", "quillfen-replay: --steps needs a value"},
        {"--steps 1e3", "quillfen-replay: --steps needs a whole number"},
        {"--steps 99999999999", "quillfen-replay: --steps 99999999999 is too large"},
        {"--fast", "quillfen-replay: unknown option '--fast'"},
        {"--input /nonexistent.txt", "/nonexistent.txt: cannot read the input script"},
        {"--input " + quoted(bad) + trace, bad + ":3: step number '-4' is negative"},
        {"--input " + quoted(binary) + trace, binary + ":1: expected a step number"},
    };
    for (const auto& [options, error] : requests) {
        SCOPED_TRACE(options);
        const ReplayRun run =
            runReplayTool("--dir " + quoted(folder.path()) + " " + options, folder.path());
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.errors.rfind(error, 0), 0u) << run.errors;
        if (options.rfind("--input", 0) == 0) {
            EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
        }
        EXPECT_EQ(run.log, "");
        EXPECT_FALSE(fileExists(folder.file("trace.txt")));
    }
}

} // namespace
