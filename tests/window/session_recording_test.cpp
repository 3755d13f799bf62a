// A session played in the real game, with real key and mouse events through the X server
// (xdotool, XTest), recorded with QUILLFEN_RECORD and replayed by quillfen-replay.

#include "support/OwnDisplay.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

// After gtest: Xlib defines macros (None, Status) that gtest's own names would meet.
#include <X11/Xlib.h>

namespace {

void expectIn(const std::string& text, const std::string& part)
{
    EXPECT_NE(text.find(part), std::string::npos) << "'" << part << "' is not in:\n" << text;
}

// Starts the game in `folder`, recording to session.txt, its log in game.log.
pid_t startGame(const ScratchDirectory& folder)
{
    const pid_t game = fork();
    if (game == 0 && chdir(folder.path().c_str()) == 0 &&
        setenv("QUILLFEN_RECORD", "session.txt", 1) == 0 &&
        std::freopen("game.log", "w", stdout) != nullptr) {
        execl(QUILLFEN_GAME, QUILLFEN_GAME, static_cast<char*>(nullptr));
    }
    if (game == 0) {
        _exit(127);
    }
    return game;
}

// Plays a few seconds: walks right, jumps, fires, clicks the right button, then closes the
// window as a window manager does (WM_DELETE_WINDOW). Without a window manager, keys go to
// the window given the input focus (windowfocus), a click to the window under the pointer.
bool playSession(const ScratchDirectory& folder)
{
    const std::string play =
        "w=$(timeout 30 xdotool search --sync --name '^Quillfen$' | head -n 1) && echo $w >" +
        quoted(folder.file("window.txt")) +
        " && xdotool windowfocus --sync $w mousemove --window $w 300 250 sleep 0.5 keydown d "
        "sleep 1.5 key space sleep 0.5 click 1 mousemove --window $w 500 300 click 3 sleep 0.5 "
        "keyup d sleep 0.5 click 1 sleep 0.5";
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || std::system(play.c_str()) != 0) {
        return false;
    }
    const Window window = std::stoul(readWholeFile(folder.file("window.txt")));
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &close);
    XCloseDisplay(display);
    return true;
}

ReplayRun replaySession(const ScratchDirectory& folder)
{
    return runReplayTool("--dir " + quoted(folder.path()) + " --steps 20000 --input " +
                             quoted(folder.file("session.txt")),
                         folder.path());
}

TEST(SessionRecording, APlayedSessionReplaysToTheGamesLogAndAChangedLevelIsNamed)
{
    ScratchDirectory folder;
    const std::string level = readWholeFile(assetsDir() + "/Level.txt");
    folder.write("Level.txt", level);
    const OwnDisplay display(folder.path());
    setenv("DISPLAY", display.name.c_str(), 1);
    const pid_t game = startGame(folder);
    const bool played = playSession(folder);
    if (!played) {
        kill(game, SIGKILL);
    }
    int status = -1;
    waitpid(game, &status, 0);
    ASSERT_TRUE(played) << "The game's window could not be found or driven (xdotool, Xvfb).";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const std::string session = readWholeFile(folder.file("session.txt"));
    for (const char* line : {"\n0 check ", " down d\n", " down space\n", " click left 300 250\n",
                             " click right 500 300\n", " up d\n", " quit\n",
                             "# picture bitmap2.bmp ", "\n# end: the window closed\n"}) {
        expectIn(session, line);
    }
    const ReplayRun replay = replaySession(folder);
    EXPECT_EQ(replay.status, 0) << replay.errors;
    // It ends where the game did: after the step of the last checkpoint, the last step that ran.
    const size_t lastCheck = session.rfind(" check ");
    const size_t lineStart = session.rfind('\n', lastCheck) + 1;
    const std::string lastStep = session.substr(lineStart, lastCheck - lineStart);
    expectIn(replay.errors, "stopped after step " + lastStep + ": the script quit\n");
    EXPECT_EQ(replay.log, withoutFrameRates(readWholeFile(folder.file("game.log"))));

    // One line of the level one unit lower: the world as built is no longer the recorded one.
    const size_t line = level.find("#_CollVec //X 96 //Y 11 //Dx 110");
    ASSERT_NE(line, std::string::npos);
    folder.write("Level.txt", level.substr(0, line + 22) + "2" + level.substr(line + 23));
    const ReplayRun changed = replaySession(folder);
    EXPECT_EQ(changed.status, 3);
    expectIn(changed.errors, "quillfen-replay: desync at step 0: ");
    expectIn(changed.errors, "differs from the recording: Level.txt (recorded ");

    // The level as recorded, and the last checkpoint changed: the world itself differs.
    folder.write("Level.txt", level);
    const size_t digit = lastCheck + 7;
    folder.write("session.txt", session.substr(0, digit) + (session[digit] == '0' ? "1" : "0") +
                                    session.substr(digit + 1));
    const ReplayRun desync = replaySession(folder);
    EXPECT_EQ(desync.status, 3);
    expectIn(desync.errors, "desync at step " + lastStep + ": ");
    expectIn(desync.errors, "the level, the pictures and the program version are the recorded");
}

// The session recorded in the game and committed still replays, checkpoint for checkpoint, to
// its win: a change of the game that moves anything in it shows here.
TEST(SessionRecording, TheCommittedRecordingStillWinsTheBundledLevel)
{
    ScratchDirectory folder;
    const ReplayRun run =
        runReplayTool("--dir " + quoted(assetsDir()) + " --steps 2000 --input " +
                          quoted(assetsDir() + "/replays/recorded-win-bundled-level.txt"),
                      folder.path());
    EXPECT_EQ(run.status, 0) << run.errors;
    expectIn(run.errors, "stopped after step 1183: the player won");
}

} // namespace
