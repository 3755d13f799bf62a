#pragma once

#include <SDL.h>

#include <cstdint>

class Game;

constexpr Uint32 kStepPeriodMilliseconds = 16;
constexpr int32_t kReportPeriodMilliseconds = 5000;
constexpr float kWinningX = 2800.0f;

// A step is due once 16 ms have passed since the previous one ended (unsigned ticks).
inline bool stepIsDue(Uint32 now, Uint32 lastStep) { return now >= lastStep + kStepPeriodMilliseconds; }

// Moves SDL's pending events onto the world's input queue; returns true on a window close.
bool pollEvents(Game& world);

// Whether the avatar has passed the winning line.
bool avatarHasWon(Game& world);

// Runs the world until the window is closed, the player wins or dies.
void runMainLoop(Game& world, char* captionBuffer);
