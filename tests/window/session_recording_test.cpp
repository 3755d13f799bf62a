// A session played in the real game, with real key and mouse events through the X server
// (xdotool, XTest), recorded with QUILLFEN_RECORD and replayed by quillfen-replay.

#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include <sys/wait.h>
#include <unistd.h>

// After gtest: Xlib defines macros (None, Status) that gtest's own names would meet.
#include <X11/Xlib.h>

namespace {

// What a window manager sends when the window's close button is clicked.
void closeWindow(Window window)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &message);
    XCloseDisplay(display);
}

// Starts the game in `folder`, recording to session.txt, its log in game.log.
pid_t startGame(const ScratchDirectory& folder)
{
    const pid_t game = fork();
    if (game == 0) {
        if (chdir(folder.path().c_str()) == 0 && setenv("QUILLFEN_RECORD", "session.txt", 1) == 0 &&
            std::freopen("game.log", "w", stdout) != nullptr) {
            execl(QUILLFEN_GAME, QUILLFEN_GAME, static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    return game;
}

// Plays a few seconds: walks right, jumps, fires, clicks the right button, closes the window.
// Without a window manager, keys go to the window given the input focus (windowfocus), and a
// click to the window under the pointer: the game's window is moved to the bottom right corner
// and raised, clear of the windows other tests may open at the top left at the same time.
bool playSession(pid_t game, const ScratchDirectory& folder)
{
    const std::string search = "timeout 30 xdotool search --sync --all --pid " +
                               std::to_string(game) + " --name '^Quillfen$' >" +
                               quoted(folder.file("window.txt"));
    if (std::system(search.c_str()) != 0) {
        return false;
    }
    const std::string found = readWholeFile(folder.file("window.txt"));
    const std::string window = found.substr(0, found.find('\n'));
    const std::string w = " " + window + " ";
    const std::string play = "xdotool windowmove --sync" + w + "384 288 windowraise" + w +
                             "windowfocus --sync" + w + "mousemove --window" + w +
                             "300 250 sleep 0.5 keydown d sleep 1.5 key space sleep 0.5 click 1 "
                             "mousemove --window" +
                             w + "500 300 click 3 sleep 0.5 keyup d sleep 0.5 click 1 sleep 0.5";
    if (std::system(play.c_str()) != 0) {
        return false;
    }
    closeWindow(std::stoul(window));
    return true;
}

ReplayRun replaySession(const ScratchDirectory& folder)
{
    return runReplayTool("--dir " + quoted(folder.path()) + " --input " +
                             quoted(folder.file("session.txt")),
                         folder.path());
}

TEST(SessionRecording, APlayedSessionReplaysToTheGamesLogAndAChangedLevelIsNamed)
{
    ScratchDirectory folder;
    const std::string level = readWholeFile(assetsDir() + "/Level.txt");
    folder.write("Level.txt", level);
    const pid_t game = startGame(folder);
    const bool played = playSession(game, folder);
    if (!played) {
        kill(game, SIGKILL);
    }
    int status = -1;
    waitpid(game, &status, 0);
    ASSERT_TRUE(played) << "The game's window could not be found or driven (xdotool, Xvfb).";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const std::string session = readWholeFile(folder.file("session.txt"));
    for (const char* line : {"\n0 check ", " down d\n", " down space\n", " click left 300 250\n",
                             " click right 500 300\n", " up d\n", " quit\n", "# level Level.txt ",
                             "# picture bitmap2.bmp "}) {
        EXPECT_NE(session.find(line), std::string::npos) << line << " in\n" << session;
    }
    const ReplayRun replay = replaySession(folder);
    EXPECT_EQ(replay.status, 0) << replay.errors;
    // It ends where the game did: after the step of the last checkpoint, the last step that ran.
    const size_t lastCheck = session.rfind(" check ");
    const size_t lineStart = session.rfind('\n', lastCheck) + 1;
    const std::string lastStep = session.substr(lineStart, lastCheck - lineStart);
    EXPECT_NE(replay.errors.find("stopped after step " + lastStep + ": the script quit\n"),
              std::string::npos)
        << replay.errors;
    const std::regex frameRateLine("[0-9]+ frames in [^ ]+ seconds = [^ ]+ FPS\n");
    const std::string gameLog = readWholeFile(folder.file("game.log"));
    EXPECT_EQ(replay.log, std::regex_replace(gameLog, frameRateLine, ""));

    // One line of the level one unit lower: the world as built is no longer the recorded one.
    const std::string line = "#_CollVec //X 96 //Y 11 //Dx 110";
    ASSERT_NE(level.find(line), std::string::npos);
    folder.write("Level.txt",
                 std::regex_replace(level, std::regex(line), "#_CollVec //X 96 //Y 12 //Dx 110"));
    const ReplayRun changed = replaySession(folder);
    EXPECT_EQ(changed.status, 3);
    EXPECT_NE(changed.errors.find("quillfen-replay: desync at step 0: "), std::string::npos)
        << changed.errors;
    EXPECT_NE(changed.errors.find("differs from the recording: Level.txt (recorded "),
              std::string::npos)
        << changed.errors;

    // The level as recorded, and the last checkpoint changed: the world itself differs.
    folder.write("Level.txt", level);
    const size_t digit = lastCheck + 7;
    folder.write("session.txt", session.substr(0, digit) + (session[digit] == '0' ? "1" : "0") +
                                    session.substr(digit + 1));
    const ReplayRun desync = replaySession(folder);
    EXPECT_EQ(desync.status, 3);
    EXPECT_NE(desync.errors.find("desync at step " + lastStep + ": "), std::string::npos)
        << desync.errors;
    EXPECT_NE(
        desync.errors.find("the level, the pictures and the program version are the recorded"),
        std::string::npos)
        << desync.errors;
}

} // namespace
