#pragma once

// Records a played session, with QUILLFEN_RECORD=FILE, as an input script that quillfen-replay
// runs again: the header of app/SessionHeader.h, then one line per polled key press, key
// release, mouse button press and window close, stamped with the step whose commands handle
// it, in the order they were polled:
//   <step> down <key>    <step> up <key>    <step> click <button> <x> <y>    <step> quit
// and checkpoints, the hash of the world's state block (world/WorldState.h) after a step:
//   <step> check <16 hexadecimal digits>
// at step 0 (the world as built and loaded), every 60 steps and after the last step. Keys are
// SDL 1.2's numbers; a key SDL 1.2 has no number for is a comment that names it:
//   # <step> down <name>: no SDL 1.2 key number
// Lines are flushed by the end of the step that follows them.

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class Game;

constexpr int64_t kCheckpointPeriod = 60;

class SessionRecorder {
public:
    // Creates the file and writes the header and the checkpoint of step 0. A file that cannot
    // be created is reported on standard error, and the recorder then records nothing.
    SessionRecorder(const std::string& fileName, Game& world);
    // Writes the checkpoint of the last step if it has none yet, and closes the file.
    ~SessionRecorder();
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;

    // An event the main loop has just polled; it belongs to the next step.
    void eventPolled(const SDL_Event& event);

    // A key event polled of a key SDL 1.2 has no number for, which the world never sees: a
    // comment line that names the key, so that no build misreads it.
    void keyWithoutNumber(const SDL_Event& event, const std::string& name);

    // A step has run. Its checkpoint is written when it is a 60th step or when the game is
    // over after it (death or win: written before the win waits on the console).
    void stepRan();

private:
    void writeLine(const std::string& line);
    void checkpoint();
    void flush();
    void stop(const char* what);

    Game& world;
    std::string name;
    std::FILE* file = nullptr;
    int64_t stepsRun = 0;
    int64_t lastCheckpoint = -1;
    bool unflushed = false;
};

// The recorder that QUILLFEN_RECORD asks for, or null when it is not set (or empty). It
// reports to itself what the main loop polls and steps while it lives.
std::unique_ptr<SessionRecorder> recordIfAsked(Game& world);

// What the main loop tells the recorder, if one lives; nothing otherwise.
void recordPolledEvent(const SDL_Event& event);
void recordKeyWithoutNumber(const SDL_Event& event, const std::string& name);
void recordStepRan();
