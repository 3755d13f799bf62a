#pragma once

#include "workspace/Workspace.h"

#include <memory>
#include <sstream>
#include <string>

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

// A world built headless in `directory` (the bundled assets by default), as in a fresh run;
// its console waits return at once. The construction's log lines are discarded. Pictures
// loaded later (a spawned enemy, a level's pictures) are read from the working directory:
// keep a ScopedWorkingDirectory on `directory` while such a world runs.
std::unique_ptr<Game> makeHeadlessGame(const std::string& directory = assetsDir());

// Puts the avatar's box corner at (x, y) with that speed and direction, taken as they stand.
Entity& placeAvatar(Game& game, float x, float y, float speed, float dirX, float dirY);
