#pragma once

#include <SDL.h>

#include <cstdint>

class Game;

constexpr Uint32 kStepPeriodMilliseconds = 16;
constexpr int32_t kReportPeriodMilliseconds = 5000;
constexpr float kWinningX = 2800.0f;

// A step is due once 16 ms have passed since the previous one ended (unsigned ticks).
inline bool stepIsDue(Uint32 now, Uint32 lastStep)
{
    return now >= lastStep + kStepPeriodMilliseconds;
}

// Puts one polled SDL event on the world's input queue as the main loop does: key presses,
// key releases and mouse button presses are queued, everything else is ignored. Returns true
// for a window close (SDL_QUIT), which is not queued.
bool queuePolledEvent(Game& world, const SDL_Event& event);

// Moves SDL's pending events onto the world's input queue, keys numbered as SDL 1.2 numbers
// them; returns true on a window close. Events that follow a close in the same poll are still
// queued. A key SDL 1.2 has no number for is only recorded, as a comment.
bool pollEvents(Game& world);

// Whether the avatar has passed the winning line.
bool avatarHasWon(Game& world);

// One step of work without the clock: the world step, then the win test ("You win!" and a
// wait on the console). Returns true when the game is over, by death or by the win.
bool stepWorld(Game& world);

// Runs the world until the window is closed, the player wins or dies. A log that can no
// longer be written is reported once on standard error, and the game plays on. `readTicks`
// is the millisecond clock that paces the steps and the frame-rate report.
void runMainLoop(Game& world, char* captionBuffer, Uint32 (*readTicks)() = SDL_GetTicks);
