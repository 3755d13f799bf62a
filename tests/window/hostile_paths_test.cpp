// Hostile paths where the game and the replay tool expect a file: a named pipe, a device, a
// link to one, a directory, the program's own output. Each is refused as a missing file is,
// with a line on standard error that says what the path is, and nothing hangs: every run has a
// time limit, and a game still running once its line is out is closed with SIGTERM, which it
// takes as a window close. Then the replay tool's outputs, and the game ended by a signal while
// it waits on the console and by a lost display.

#include "support/OwnDisplay.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

enum class Hostility {
    Fifo,
    Device,
    DeviceLink,
    Directory,
    ProcLink,
    SameAsOutput,
    Full,
    Closed,
    // The replay tool's outputs: the file as --trace, then as --frame, then --trace with --map
    // through a link to it (made by the run, or there before it), and --trace /dev/null.
    FifoTrace,
    DeviceFrame,
    LinkedToNew,
    LinkedToOld,
    NullTrace,
};

struct HostilePath {
    bool game;        // the game itself, or quillfen-replay with the script script.txt
    const char* file; // the file of the game's folder made hostile
    Hostility hostility;
    int status;        // the exit status
    const char* error; // on standard error, once
};

// Makes the row's file hostile; returns the redirection of standard output for the run.
std::string makeHostile(const ScratchDirectory& folder, const HostilePath& row)
{
    const std::string path = folder.file(row.file);
    std::filesystem::remove(path);
    switch (row.hostility) {
    case Hostility::Fifo: mkfifo(path.c_str(), 0600); break;
    case Hostility::DeviceLink: std::filesystem::create_symlink("/dev/zero", path); break;
    case Hostility::Directory: std::filesystem::create_directory(path); break;
    case Hostility::ProcLink: std::filesystem::create_symlink("/proc/self/pagemap", path); break;
    case Hostility::SameAsOutput:
        folder.write(row.file, "3 down d\n");
        return row.game ? " >>" + quoted(path) : " --trace " + quoted(path) + " >log.txt";
    case Hostility::FifoTrace:
        mkfifo(path.c_str(), 0600);
        return " --trace " + quoted(path) + " >log.txt";
    case Hostility::DeviceFrame:
        std::filesystem::create_symlink("/dev/zero", path);
        return " --frame " + quoted(path) + " >log.txt";
    case Hostility::LinkedToOld: folder.write(row.file, ""); [[fallthrough]];
    case Hostility::LinkedToNew:
        std::filesystem::create_symlink(row.file, folder.file("link.txt"));
        return " --trace " + quoted(path) + " --map link.txt >log.txt";
    case Hostility::NullTrace: return " --trace /dev/null >log.txt";
    case Hostility::Full: return " >/dev/full";
    case Hostility::Closed: return " >&-";
    case Hostility::Device: break;
    }
    return " >log.txt";
}

// Shell words that wait, at most 30 seconds, until `text` is in `file`.
std::string untilIn(const std::string& file, const std::string& text)
{
    return "n=0; until grep -qF -e " + quoted(text) + " " + file +
           " || [ $n -ge 300 ]; do sleep 0.1; n=$((n+1)); done; ";
}

std::string hostileRun(const ScratchDirectory& folder, const HostilePath& row)
{
    const std::string output = makeHostile(folder, row);
    std::string run = "cd " + quoted(folder.path()) + " && timeout -k 2 60 ";
    if (!row.game) {
        const char* script = row.hostility == Hostility::Device ? "/dev/zero" : "script.txt";
        return run + quoted(QUILLFEN_REPLAY_TOOL) + " --dir . --steps 5 --input " + script +
               output + " 2>err.txt";
    }
    // A game that fails ends by itself: a SIGTERM sent once its line is out could still
    // reach it before its exit (the sanitizers' leak check makes the exit slow).
    const std::string close = row.status == 0 ? "kill -TERM $p 2>/dev/null; " : "";
    const std::string game = quoted(QUILLFEN_GAME) + output + " 2>err.txt & p=$!; " +
                             untilIn("err.txt", row.error) + close + "wait $p";
    return run + "sh -c " + quoted(game) + " </dev/null";
}

TEST(HostilePaths, AreRefusedLikeMissingFilesAndNeverHang)
{
    using H = Hostility;
    const char* const kScene = "; the built-in scene plays alone";
    const std::string notAPicture = "cool like that (bitmap2.bmp): a character device, not a";
    const HostilePath rows[] = {
        {true, "Level.txt", H::Fifo, 0, "Level.txt: a named pipe, not a regular file"},
        {true, "Level.txt", H::DeviceLink, 0, "Level.txt: a character device, not a regular"},
        {true, "Level.txt", H::SameAsOutput, 0, "Level.txt: the program's own standard output"},
        {true, "Level.txt", H::ProcLink, 0, "Level.txt: a file of the kernel (/proc, /sys)"},
        {true, "tile.bmp", H::Directory, 1, "(tile.bmp): a directory, not a regular file"},
        {true, "bitmap2.bmp", H::DeviceLink, 1, notAPicture.c_str()},
        {true, "Level.txt", H::Full, 0, "quillfen: the log cannot be written"},
        {true, "Level.txt", H::Closed, 0, "quillfen: the log cannot be written"},
        {false, "script.txt", H::Fifo, 2, "cannot read the input script (a named pipe, not"},
        {false, "script.txt", H::Device, 2, "cannot read the input script (a character device"},
        {false, "Level.txt", H::Directory, 0, kScene},
        {false, "bitmap2.bmp", H::DeviceLink, 1, notAPicture.c_str()},
        {false, "script.txt", H::SameAsOutput, 2, "is the same file as the input script.txt"},
        {false, "tile.bmp", H::SameAsOutput, 2, "is the same file as the input ./tile.bmp"},
        {false, "Level.txt", H::Full, 1, "the game's log cannot be written"},
        {false, "out", H::FifoTrace, 2, "/out is a named pipe, not a regular file; outputs go"},
        {false, "out", H::DeviceFrame, 2, "/out is a character device, not a regular file"},
        {false, "out", H::LinkedToNew, 2, "link.txt name one file; one would overwrite"},
        {false, "out", H::LinkedToOld, 2, "link.txt name one file; one would overwrite"},
        {false, "out", H::NullTrace, 0, "stopped after step 5: the steps asked for have run"},
    };
    for (const HostilePath& row : rows) {
        SCOPED_TRACE(std::string(row.game ? "game, " : "replay, ") + row.file + ": " + row.error);
        ScratchDirectory folder;
        folder.write("script.txt", "3 down d\n");
        const int result = std::system(hostileRun(folder, row).c_str());
        const std::string errors = readWholeFile(folder.file("err.txt"));
        EXPECT_EQ(WIFEXITED(result) ? WEXITSTATUS(result) : -1, row.status) << errors;
        EXPECT_NE(errors.find(row.error), std::string::npos) << errors;
        EXPECT_EQ(errors.find(row.error), errors.rfind(row.error)) << errors;
        // A refused Level.txt is reported on the log as a missing one is.
        if (row.hostility <= H::ProcLink && std::string(row.file) == "Level.txt") {
            const std::string log = readWholeFile(folder.file("log.txt"));
            EXPECT_NE(log.find("File Failed to load....\n"), std::string::npos) << log;
        }
    }
}

// A level that wins at once: rings around a point far to the right pull the avatar past the
// winning line within 30 steps.
std::string levelThatWinsAtOnce()
{
    std::string level;
    for (int ring = 0; ring < 30; ++ring) {
        level += "#_CollArc //Position 6000 40 //Radius " + std::to_string(3000 + 60 * ring) +
                 " //Sector 0 //flag 16 //speed/distance 0 6000\n";
    }
    return level;
}

// Runs the game in `folder` (recording rec.txt, log log.txt, standard error err.txt, standard
// input `input`; in.fifo is held open for writing). Once `cue` is in `cueFile`, runs `end` and
// gives the game 5 seconds to end before SIGKILL. Returns the exit status.
int endGame(const ScratchDirectory& folder, const std::string& input, const char* cueFile,
            const char* cue, const std::string& end)
{
    mkfifo(folder.file("in.fifo").c_str(), 0600);
    const std::string script = "QUILLFEN_RECORD=rec.txt " + quoted(QUILLFEN_GAME) + " <" + input +
                               " >log.txt 2>err.txt & p=$!; exec 3<>in.fifo; " +
                               untilIn(cueFile, cue) + end +
                               "; n=0; while kill -0 $p 2>/dev/null && [ $n -lt 50 ]; do sleep "
                               "0.1; n=$((n+1)); done; kill -KILL $p 2>/dev/null; wait $p";
    const int result = std::system(
        ("cd " + quoted(folder.path()) + " && sh -c " + quoted(script) + " </dev/null").c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
}

// What the game wrote on standard error, without SDL's note on a missing XDG_RUNTIME_DIR.
std::string gameErrors(const ScratchDirectory& folder)
{
    std::istringstream lines(readWholeFile(folder.file("err.txt")));
    std::string errors;
    for (std::string line; std::getline(lines, line);) {
        errors += line.find("XDG_RUNTIME_DIR") == std::string::npos ? line + "\n" : "";
    }
    return errors;
}

// The recording ends with `lastLine` and replays to the game's log: it is complete.
void expectCompleteRecording(const ScratchDirectory& folder, const std::string& lastLine,
                             const std::string& end)
{
    const std::string recording = readWholeFile(folder.file("rec.txt"));
    EXPECT_EQ(recording.substr(recording.rfind('\n', recording.size() - 2) + 1), lastLine)
        << recording;
    const ReplayRun replay =
        runReplayTool("--dir " + quoted(folder.path()) + " --steps 5000 --input " +
                          quoted(folder.file("rec.txt")),
                      folder.path());
    EXPECT_EQ(replay.status, 0) << replay.errors;
    EXPECT_NE(replay.errors.find(end), std::string::npos) << replay.errors;
    EXPECT_EQ(replay.log, withoutFrameRates(readWholeFile(folder.file("log.txt"))));
}

// SIGTERM and SIGINT during the wait on the console after the win, with a terminal or a pipe
// as standard input, end the game as a window close does.
TEST(HostilePaths, SignalsEndTheWaitOnTheConsoleWithTheRecordingComplete)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const std::string terminal = quoted(ptsname(master));
    for (const auto& [input, signal] : {std::pair{terminal, "TERM"},
                                        {terminal, "INT"},
                                        {std::string("in.fifo"), "TERM"},
                                        {"in.fifo", "INT"}}) {
        SCOPED_TRACE(input + ", SIG" + signal);
        ScratchDirectory folder;
        folder.write("Level.txt", levelThatWinsAtOnce());
        const int status =
            endGame(folder, input, "log.txt", "You win!", std::string("kill -") + signal + " $p");
        EXPECT_EQ(status, 0) << gameErrors(folder);
        EXPECT_EQ(gameErrors(folder), "");
        expectCompleteRecording(
            folder, "# end: the player won; SIG" + std::string(signal) + " ended the wait\n",
            "the player won");
    }
    close(master);
}

// The X server goes away while the game runs: it ends at once with status 1 and one line.
TEST(HostilePaths, ALostDisplayEndsTheGameWithOneLineAndTheRecordingComplete)
{
    ScratchDirectory folder;
    OwnDisplay display(folder.path());
    setenv("DISPLAY", display.name.c_str(), 1);
    const int status = endGame(folder, "/dev/null", "rec.txt", "60 check ",
                               "kill " + std::to_string(display.server));
    display.stop();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(gameErrors(folder), "quillfen: the display " + display.name + " went away\n");
    expectCompleteRecording(folder, "# end: the display went away\n", "the script quit");
}

} // namespace
