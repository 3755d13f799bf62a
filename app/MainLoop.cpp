#include "app/MainLoop.h"

#include "app/FrameRateReport.h"
#include "app/Host.h"
#include "app/KeyNumbers.h"
#include "app/QuitSignals.h"
#include "app/SessionRecorder.h"
#include "app/StandardStreams.h"
#include "world/Game.h"

#include <iostream>
#include <string>

bool queuePolledEvent(Game& world, const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN: world.inputQueue.push_back(polledEvent(&world, kKeyPressed, event)); break;
    case SDL_KEYUP: world.inputQueue.push_back(polledEvent(&world, kKeyReleased, event)); break;
    case SDL_MOUSEBUTTONDOWN:
        world.inputQueue.push_back(polledEvent(&world, kMouseButtonPressed, event));
        break;
    case SDL_QUIT: return true;
    default: break;
    }
    return false;
}

bool pollEvents(Game& world)
{
    bool quit = false;
    SDL_Event event;
    std::string unnumbered;
    while (SDL_PollEvent(&event) != 0) {
        if (!renumberPolledKey(event, unnumbered)) {
            recordKeyWithoutNumber(event, unnumbered);
            continue;
        }
        recordPolledEvent(event);
        quit = queuePolledEvent(world, event) || quit;
    }
    if (!quit && caughtQuitSignal() != 0) {
        // SIGTERM or SIGINT: a window close, recorded as one.
        SDL_Event close{};
        close.type = SDL_QUIT;
        recordPolledEvent(close);
        quit = true;
    }
    return quit;
}

bool avatarHasWon(Game& world) { return world.avatar().x > kWinningX; }

bool stepWorld(Game& world)
{
    recordStepStarting();
    const bool alive = world.frameStep();
    recordStepRan();
    if (!alive) {
        return true;
    }
    if (avatarHasWon(world)) {
        std::cout << "You win!\n";
        world.readConsoleChar();
        return true;
    }
    return false;
}

namespace {

// Why the loop ended: by a window close (or a signal taken as one), or by the game itself.
std::string endOfPlay(Game& world, bool closed)
{
    const std::string signal = caughtQuitSignalName();
    if (closed) {
        return signal.empty() ? "the window closed" : signal;
    }
    if (world.player.hp <= 0) {
        return "the player died";
    }
    return signal.empty() ? "the player won" : "the player won; " + signal + " ended the wait";
}

} // namespace

void runMainLoop(Game& world, char* captionBuffer, Uint32 (*readTicks)())
{
    bool closed = false;
    bool over = false;
    Uint32 lastStep = 0;
    Uint32 reportStart = 0;
    int32_t frames = 0;
    while (!closed && !over) {
        closed = pollEvents(world);
        if (!stepIsDue(readTicks(), lastStep)) {
            waitForHost(lastStep + kStepPeriodMilliseconds);
            continue;
        }
        if (!closed) {
            over = stepWorld(world);
        }
        const Uint32 now = readTicks();
        const int32_t period = static_cast<int32_t>(now - reportStart);
        if (period >= kReportPeriodMilliseconds) {
            std::cout << frameRateLine(frames, period) << std::flush;
            SDL_WM_SetCaption(captionBuffer, nullptr);
            reportStart = now;
            frames = 0;
        }
        lastStep = readTicks();
        frames += 1;
        warnOnceIfLogIsLost("quillfen");
    }
    recordEnd(endOfPlay(world, closed));
}
