// Hostile paths where the game and the replay tool expect a file: a named pipe, a device, a
// link to one, a directory, the program's own output. Each is refused as a missing file is,
// with a line on standard error that says what the path is, and nothing hangs: every run has a
// time limit, and a game still running once its line is out is closed with SIGTERM, as SDL
// turns it into a window close.

#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

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
    const std::string game = quoted(QUILLFEN_GAME) + output +
                             " 2>err.txt & p=$!; n=0; until grep -qF -e " + quoted(row.error) +
                             " err.txt || [ $n -ge 300 ]; do sleep 0.1; n=$((n+1)); done; " +
                             close + "wait $p";
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
        {false, "out", H::LinkedToNew, 2, "--trace and --map name one file,"},
        {false, "out", H::LinkedToOld, 2, "--trace and --map name one file,"},
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

} // namespace
