#include "tools/replay/Pacer.h"

#include "app/Host.h"
#include "app/MainLoop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// False once the window has been closed.
bool drainWindowEvents()
{
    bool open = true;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        open = open && event.type != SDL_QUIT;
    }
    return open;
}

// The value below which `share` of the sorted values lie (nearest rank).
double nearestRank(const std::vector<double>& sorted, double share)
{
    const auto rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

} // namespace

Pacer::Pacer(PaceMode paceMode) : mode(paceMode), lastStepEnd(SDL_GetTicks()) {}

bool Pacer::waitForStep()
{
    bool open = drainWindowEvents();
    while (open && mode == PaceMode::Watch && !stepIsDue(SDL_GetTicks(), lastStepEnd)) {
        waitForHost(lastStepEnd + kStepPeriodMilliseconds);
        // Sleep while more than a couple of milliseconds are left, then poll to the tick.
        if (lastStepEnd + kStepPeriodMilliseconds - SDL_GetTicks() > 2) {
            SDL_Delay(1);
        }
        open = drainWindowEvents();
    }
    stepStart = Clock::now();
    if (frameMilliseconds.empty()) {
        firstStart = stepStart;
    }
    return open;
}

void Pacer::stepEnded()
{
    lastEnd = Clock::now();
    lastStepEnd = SDL_GetTicks();
    frameMilliseconds.push_back(
        std::chrono::duration<double, std::milli>(lastEnd - stepStart).count());
}

std::string Pacer::summary() const
{
    std::vector<double> sorted = frameMilliseconds;
    std::sort(sorted.begin(), sorted.end());
    const double seconds = std::chrono::duration<double>(lastEnd - firstStart).count();
    const double median = sorted.empty() ? 0.0 : nearestRank(sorted, 0.5);
    const double percentile = sorted.empty() ? 0.0 : nearestRank(sorted, 0.99);
    const double maximum = sorted.empty() ? 0.0 : sorted.back();
    char line[200];
    std::snprintf(line, sizeof line,
                  "timedemo: %zu frames in %.3f seconds = %.1f FPS; frame time in ms: median "
                  "%.3f, 99th percentile %.3f, maximum %.3f",
                  sorted.size(), seconds,
                  seconds > 0.0 ? static_cast<double>(sorted.size()) / seconds : 0.0, median,
                  percentile, maximum);
    return line;
}
