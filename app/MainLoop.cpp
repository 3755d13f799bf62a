#include "app/MainLoop.h"

#include "app/FrameRateReport.h"
#include "app/Host.h"
#include "app/KeyNumbers.h"
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
    return quit;
}

bool avatarHasWon(Game& world) { return world.avatar().x > kWinningX; }

bool stepWorld(Game& world)
{
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

void runMainLoop(Game& world, char* captionBuffer, Uint32 (*readTicks)())
{
    bool quit = false;
    Uint32 lastStep = 0;
    Uint32 reportStart = 0;
    int32_t frames = 0;
    while (!quit) {
        quit = pollEvents(world) || quit;
        if (!stepIsDue(readTicks(), lastStep)) {
            waitForHost(lastStep + kStepPeriodMilliseconds);
            continue;
        }
        if (!quit) {
            quit = stepWorld(world);
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
}
