#pragma once

// Times the steps of a replay played in the game's window.
//   watch:    at the game's own pace, each step 16 ms after the previous one ended (SDL's
//             millisecond clock, as the main loop reads it);
//   timedemo: each step at once, every frame's time measured.
// Either way the window's events are drained between steps, so that it stays alive and a
// close stops the replay; they never reach the world.

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

enum class PaceMode { Watch, Timedemo };

class Pacer {
public:
    explicit Pacer(PaceMode paceMode);

    // Waits until the next step is due; false when the window has been closed.
    bool waitForStep();

    // The step has run and drawn its frame.
    void stepEnded();

    // "timedemo: N frames in S seconds = F FPS; frame time in ms: median M, 99th percentile P,
    // maximum X". A frame is one step of work with its drawing and buffer swap.
    std::string summary() const;

private:
    using Clock = std::chrono::steady_clock;

    PaceMode mode = PaceMode::Watch;
    Uint32 lastStepEnd = 0;
    Clock::time_point firstStart{};
    Clock::time_point stepStart{};
    Clock::time_point lastEnd{};
    std::vector<double> frameMilliseconds;
};
