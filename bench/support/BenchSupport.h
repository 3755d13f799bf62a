#pragma once

#include "level/CharSource.h"
#include "workspace/Workspace.h"

#include <cstdint>
#include <memory>
#include <streambuf>
#include <string>

// A stream buffer that takes every character and keeps none: the log is still formatted, as
// the game formats it, but nothing is written anywhere.
class DiscardingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

// Sends the game's log (standard output) into a DiscardingBuffer while it lives.
class SilencedLog {
public:
    SilencedLog();
    ~SilencedLog();
    SilencedLog(const SilencedLog&) = delete;
    SilencedLog& operator=(const SilencedLog&) = delete;

private:
    DiscardingBuffer discarding;
    std::streambuf* previous = nullptr;
};

// The world as the game builds it at start-up, read from the working directory: the built-in
// scene and, when `withLevel` is set, Level.txt. Window mode needs an open window.
std::unique_ptr<Game> buildWorld(RenderMode mode, bool withLevel);

// Opens the game's window exactly as the game does (every SDL subsystem, then the 640x480
// double-buffered OpenGL window). Returns null once it is open, or the start-up message of
// what failed.
const char* openWindow();

// Closes the window and shuts SDL down, so that openWindow can be called again.
void closeWindow();

// "renderer, version" of the current OpenGL context.
std::string glDescription();

// A steady way of playing, the same on every run: two seconds of game time without input, in
// which the avatar falls from its start and comes to rest on the floor, then D held for two
// seconds and A held for two, over and over. On the bundled level the avatar walks the floor
// from the left wall up the slope to x 460 and back, the enemies rest in their kennel out of
// pursuit range and the level's pictures rest in their pen: a state that repeats every four
// seconds. There are no jumps: a jump in the first screen ends with the avatar climbing the
// left wall and pinned under the ceiling. Hit points are topped up before every step so that
// the game never ends, whatever hits the avatar.
class SteadyPlay {
public:
    // Queues this step's input; call it right before frameStep.
    void beforeStep(Game& world);

    int64_t steps() const { return step; }

private:
    int64_t step = 0;
};

// Hit points that no run of a benchmark can use up.
constexpr int32_t kPlentyOfHitPoints = 1000000000;

// Fires at the first enemy, as a left click would, with a pointer far enough beyond its corner
// that the corner lies inside the shot. Returns false when there is no enemy.
bool shootFirstEnemy(Game& world);

// A size field of /proc/self/status ("VmHWM", "VmRSS") in kilobytes, or -1.
int64_t statusKilobytes(const char* field);

// Reads every record of a level text as the loader does, applying none of them; returns how
// many headers it met.
int readEveryRecord(CharSource& source);
