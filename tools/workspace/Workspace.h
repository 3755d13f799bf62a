#pragma once

#include "world/Game.h"

#include <string>

// What the tests and the benchmarks both need around a world: the working directory the
// game reads its files from, scratch copies of the bundled bitmaps, the process as it is at
// start-up, and input events as the main loop queues them.

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

// The folder of the bundled bitmaps and level.
std::string assetsDir();

// Puts the process back as it is at start-up: the id counter at 0 and the standard random
// sequence at its beginning, so that a world built now gets the ids and draws of a fresh run.
void resetProcessState();

// A console that answers at once, for worlds that must not wait for a key after "You win!".
int noConsoleWait();

// An SDL key event as the main loop queues it.
InputEvent keyEvent(Game& world, int32_t kind, SDLKey key);

// A mouse button press at window pixel (x, y), as the main loop queues it.
InputEvent mouseEvent(Game& world, Uint8 button, Uint16 x, Uint16 y);
