#pragma once

#include "world/Game.h"

#include <memory>
#include <sstream>
#include <string>

// Runs the enclosed code in another working directory and goes back afterwards.
class ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(const std::string& directory);
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

private:
    std::string previous;
};

// Collects what the game writes on its log (standard output) while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return captured.str(); }
    void clear() { captured.str(""); }

private:
    std::ostringstream captured;
    std::streambuf* previous = nullptr;
};

// The folder of the bundled bitmaps and level.
std::string assetsDir();

// Puts the process back as it is at start-up: the id counter at 0 and the standard random
// sequence at its beginning, so that a world built now gets the ids and draws of a fresh run.
void resetProcessState();

// A world built headless in `directory` (the bundled assets by default), as in a fresh run;
// its console waits return at once. The construction's log lines are discarded. Pictures
// loaded later (a spawned enemy, a level's pictures) are read from the working directory:
// keep a ScopedWorkingDirectory on `directory` while such a world runs.
std::unique_ptr<Game> makeHeadlessGame(const std::string& directory = assetsDir());

// Puts the avatar's box corner at (x, y) with that speed and direction, taken as they stand.
Entity& placeAvatar(Game& game, float x, float y, float speed, float dirX, float dirY);

// A temporary folder holding copies of the bundled bitmaps, removed when it goes away.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return directory; }
    std::string file(const std::string& name) const { return directory + "/" + name; }
    void write(const std::string& name, const std::string& contents) const;

private:
    std::string directory;
};

// An SDL key event as the main loop queues it.
InputEvent keyEvent(Game& world, int32_t kind, SDLKey key);

// A mouse button press at window pixel (x, y), as the main loop queues it.
InputEvent mouseEvent(Game& world, Uint8 button, Uint16 x, Uint16 y);
