#pragma once

// Records a played session, with QUILLFEN_RECORD=FILE, as an input script that quillfen-replay
// runs again: the header of app/SessionHeader.h, then one line per polled key press, key
// release, mouse button press and window close, stamped with the step whose commands handle
// it, in the order they were polled:
//   <step> down <key>    <step> up <key>    <step> click <button> <x> <y>    <step> quit
// and checkpoints, the hash of the world's state block (world/WorldState.h) after a step:
//   <step> check <16 hexadecimal digits>
// at step 0 (the world as built and loaded), every 60 steps and after the last step, and last
// a comment that says why the game ended:
//   # end: <the window closed | SIGTERM | SIGINT | the player died | the player won | ...>
// Keys are SDL 1.2's numbers; a key SDL 1.2 has no number for is a comment that names it:
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
    // Finishes the file as finish() does, if nothing has finished it yet.
    ~SessionRecorder();
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;

    // An event the main loop has just polled; it belongs to the next step.
    void eventPolled(const SDL_Event& event);

    // A step is starting: until it has run, the world is between two states, of which no
    // checkpoint can be taken.
    void stepStarting();

    // A key event polled of a key SDL 1.2 has no number for, which the world never sees: a
    // comment line that names the key, so that no build misreads it.
    void keyWithoutNumber(const SDL_Event& event, const std::string& name);

    // A step has run. Its checkpoint is written when it is a 60th step or when the game is
    // over after it (death or win: written before the win waits on the console).
    void stepRan();

    // The game has ended, for the reason `why`: writes the checkpoint of the last step that
    // ran if it has none yet (and none is underway), the end line, and closes the file.
    void finish(const std::string& why);

    // The game ends in the middle of its run, as though its window closed before the step
    // that did not run or did not finish: that step's window close, then finish(why).
    void cutShort(const std::string& why);

private:
    void writeLine(const std::string& line);
    void checkpoint();
    void checkpointTheLastStep();
    void flush();
    void stop(const char* what);

    Game& world;
    std::string name;
    std::FILE* file = nullptr;
    int64_t stepsRun = 0;
    int64_t lastCheckpoint = -1;
    bool unflushed = false;
    bool stepUnderway = false;
};

// The recorder that QUILLFEN_RECORD asks for, or null when it is not set (or empty). It
// reports to itself what the main loop polls and steps while it lives.
std::unique_ptr<SessionRecorder> recordIfAsked(Game& world);

// What the main loop tells the recorder, if one lives; nothing otherwise.
void recordPolledEvent(const SDL_Event& event);
void recordStepStarting();

void recordKeyWithoutNumber(const SDL_Event& event, const std::string& name);
void recordStepRan();
void recordEnd(const std::string& why);

// The display went away: the recording is cut short ("# end: the display went away").
void recordLostDisplay();
