// Runs the quillfen-replay tool itself: golden runs, the committed scripts, bad requests.

#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
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

TEST(ReplayTool, TheWinningScriptWinsTheBundledLevel)
{
    ScratchDirectory folder;
    const ReplayRun run = runReplayTool("--dir " + quoted(assetsDir()) + " --trace " +
                                            quoted(folder.file("trace.txt")) + " --input " +
                                            quoted(assetsDir() + "/replays/win-bundled-level.txt"),
                                        folder.path());
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_GE(run.log.size(), 9u);
    EXPECT_EQ(run.log.substr(run.log.size() - 9), "You win!\n");
    EXPECT_EQ(run.log.find("you die"), std::string::npos);
    EXPECT_NE(run.errors.find("the player won"), std::string::npos) << run.errors;
    // The last block: the avatar, with all its hit points, past the winning line.
    const std::string trace = readWholeFile(folder.file("trace.txt"));
    const std::string lastBlock = trace.substr(trace.rfind("step "));
    EXPECT_NE(lastBlock.find(" hp 3\n"), std::string::npos) << lastBlock;
    std::istringstream avatarLine(lastBlock.substr(lastBlock.find("\ne 1 ") + 5));
    int id = 0;
    float x = 0.0f;
    avatarLine >> id >> x;
    EXPECT_GT(x, 2800.0f);
}

// The ids of the entities of each list, step by step, read back from a trace.
std::map<int, std::map<int, std::set<int>>> idsByStep(const std::string& trace)
{
    std::map<int, std::map<int, std::set<int>>> ids;
    std::istringstream lines(trace);
    std::string kind;
    int step = 0;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        words >> kind;
        if (kind == "step") {
            words >> step;
            ids[step];
        } else if (kind == "e") {
            int list = 0;
            int id = 0;
            words >> list >> id;
            ids[step][list].insert(id);
        }
    }
    return ids;
}

TEST(ReplayTool, TheShootingScriptKillsBothEnemiesAndANewOneSpawns)
{
    ScratchDirectory folder;
    const ReplayRun run = runOnBuiltinScene(
        folder, "--input " + quoted(assetsDir() + "/replays/shoot-until-spawn.txt"));
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_NE(run.errors.find("the script quit"), std::string::npos) << run.errors;

    const auto ids = idsByStep(readWholeFile(folder.file("trace.txt")));
    ASSERT_FALSE(ids.empty());
    const std::set<int> firstEnemies = ids.at(0).at(2);
    EXPECT_EQ(firstEnemies, (std::set<int>{4, 5}));
    int spawnStep = 0;
    for (const auto& [step, lists] : ids) {
        const auto enemies = lists.find(2);
        const bool newEnemy = enemies != lists.end() && !enemies->second.empty() &&
                              firstEnemies.count(*enemies->second.begin()) == 0;
        if (newEnemy && spawnStep == 0) {
            spawnStep = step;
            EXPECT_EQ(enemies->second, (std::set<int>{13})) << "at step " << step;
        }
    }
    ASSERT_NE(spawnStep, 0) << "No new enemy appeared.";
    EXPECT_EQ(ids.at(spawnStep - 1).count(2), 1u) << "The spawn came before both were shot.";
    EXPECT_EQ(ids.rbegin()->second.at(1), (std::set<int>{3})) << "The avatar is still there.";
    // The new enemy's picture is loaded like every other: one more line on the log.
    int conversions = 0;
    for (size_t at = run.log.find("No alpha mask"); at != std::string::npos;
         at = run.log.find("No alpha mask", at + 1)) {
        ++conversions;
    }
    EXPECT_EQ(conversions, 7);
    EXPECT_EQ(run.log.find("you die"), std::string::npos);
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
    EXPECT_NE(run.errors.find("stopped after step 0"), std::string::npos) << run.errors;
}

TEST(ReplayTool, AFolderWithoutTheGamesPicturesFailsWithStatusOne)
{
    ScratchDirectory folder;
    const ReplayRun missing = runReplayTool("--dir /nonexistent-quillfen --steps 3", folder.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors.rfind("quillfen-replay: cannot work in /nonexistent-quillfen", 0), 0u)
        << missing.errors;

    std::filesystem::remove(folder.file("tile.bmp"));
    const ReplayRun noTile = runReplayTool("--dir " + quoted(folder.path()), folder.path());
    EXPECT_EQ(noTile.status, 1);
    EXPECT_NE(noTile.errors.find("quillfen-replay: zomg h4x Image failed to load or something cool "
                                 "like that (tile.bmp)"),
              std::string::npos)
        << noTile.errors;
}

struct BadRequest {
    const char* options;
    const char* error; // the start of standard error
};

TEST(ReplayTool, BadOptionsAreRefusedWithStatusTwoAndNothingRun)
{
    ScratchDirectory folder;
    const BadRequest requests[] = {
        {"--trace -", "quillfen-replay: --trace - is not allowed"},
        {"--steps -1",
         "quillfen-replay: --steps needs a whole number of steps (0 or more), not '-1'"},
        {"--steps", "quillfen-replay: --steps needs a value"},
        {"--steps 1e3", "quillfen-replay: --steps needs a whole number"},
        {"--steps 99999999999", "quillfen-replay: --steps 99999999999 is too large"},
        {"--fast", "quillfen-replay: unknown option '--fast'"},
        {"--input /nonexistent.txt", "/nonexistent.txt: cannot read the input script"},
    };
    for (const BadRequest& request : requests) {
        const ReplayRun run = runReplayTool(
            std::string("--dir ") + quoted(folder.path()) + " " + request.options, folder.path());
        EXPECT_EQ(run.status, 2) << request.options;
        EXPECT_EQ(run.errors.rfind(request.error, 0), 0u) << request.options << ": " << run.errors;
        EXPECT_EQ(run.log, "") << request.options;
    }
}

TEST(ReplayTool, BadScriptsGetOneLineWithTheLineNumberAndNothingRuns)
{
    ScratchDirectory folder;
    const std::pair<std::string, std::string> scripts[] = {
        {"1 down d\n2 down shift\n", ":2: unknown key 'shift'"},
        {"# fine\n\n-4 down d\n", ":3: step number '-4' is negative"},
        {"down d\n", ":1: expected a step number"},
        {"1 down d\n18446744073709551616 quit\n",
         ":2: step number '18446744073709551616' is too large"},
        {std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10) +
             "\n",
         ":1: expected a step number"},
        {"1 click left 9999999999999 5\n", ":1: x must be a window pixel from 0 to 639"},
    };
    int index = 0;
    for (const auto& [text, message] : scripts) {
        const std::string name = "bad" + std::to_string(index++) + ".txt";
        folder.write(name, text);
        const ReplayRun run = runOnBuiltinScene(folder, "--input " + quoted(folder.file(name)));
        EXPECT_EQ(run.status, 2) << message;
        const std::string expected = folder.file(name) + message;
        EXPECT_EQ(run.errors.rfind(expected, 0), 0u) << run.errors;
        EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
        EXPECT_EQ(run.log, "") << "Nothing is run for a bad script.";
        EXPECT_FALSE(fileExists(folder.file("trace.txt"))) << message;
    }
}

} // namespace
