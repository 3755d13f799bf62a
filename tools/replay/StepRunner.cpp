#include "tools/replay/StepRunner.h"

#include "app/MainLoop.h"
#include "tools/replay/Pacer.h"
#include "tools/replay/TraceWriter.h"
#include "world/Game.h"
#include "world/WorldState.h"

#include <algorithm>

namespace {

// What the console would have given; the replay does not wait for it.
int noConsoleWait() { return '\n'; }

} // namespace

SDL_Event toSdlEvent(const ScriptEvent& event)
{
    SDL_Event sdlEvent{};
    switch (event.action) {
    case ScriptAction::KeyDown:
    case ScriptAction::KeyUp:
        sdlEvent.type = event.action == ScriptAction::KeyDown ? SDL_KEYDOWN : SDL_KEYUP;
        sdlEvent.key.state = event.action == ScriptAction::KeyDown ? SDL_PRESSED : SDL_RELEASED;
        sdlEvent.key.keysym.sym = static_cast<SDLKey>(event.code);
        break;
    case ScriptAction::Click:
        sdlEvent.type = SDL_MOUSEBUTTONDOWN;
        sdlEvent.button.button = static_cast<Uint8>(event.code);
        sdlEvent.button.state = SDL_PRESSED;
        sdlEvent.button.x = static_cast<Uint16>(event.x);
        sdlEvent.button.y = static_cast<Uint16>(event.y);
        break;
    case ScriptAction::Quit: sdlEvent.type = SDL_QUIT; break;
    case ScriptAction::Check: break; // not an event: SDL_NOEVENT, which the main loop ignores
    }
    return sdlEvent;
}

namespace {

void sortBySteps(std::vector<ScriptEvent>& events)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.step < b.step; });
}

} // namespace

StepRunner::StepRunner(Game& replayed, const std::vector<ScriptEvent>& script, TraceWriter* writer)
    : world(replayed), events(script), trace(writer)
{
    sortBySteps(events);
    world.readConsoleChar = noConsoleWait;
}

void StepRunner::checkAgainst(const std::vector<ScriptEvent>& recorded)
{
    checkpoints = recorded;
    sortBySteps(checkpoints);
    nextCheckpoint = 0;
}

bool StepRunner::matchesCheckpoints(int64_t step, ReplayResult& result)
{
    for (; nextCheckpoint < checkpoints.size() && checkpoints[nextCheckpoint].step <= step;
         ++nextCheckpoint) {
        const ScriptEvent& checkpoint = checkpoints[nextCheckpoint];
        const uint64_t here = worldStateHash(step, world);
        if (checkpoint.step == step && checkpoint.stateHash != here) {
            result.end = ReplayEnd::Desync;
            result.desyncStep = step;
            result.recordedHash = checkpoint.stateHash;
            result.stateHash = here;
            return false;
        }
    }
    return true;
}

bool StepRunner::queueEventsOf(int64_t step)
{
    bool quit = false;
    for (; nextEvent < events.size() && events[nextEvent].step == step; ++nextEvent) {
        quit = queuePolledEvent(world, toSdlEvent(events[nextEvent])) || quit;
    }
    return quit;
}

ReplayResult StepRunner::run(std::optional<int64_t> stepLimit)
{
    ReplayResult result;
    if (!matchesCheckpoints(0, result)) {
        return result;
    }
    for (int64_t step = 1; !stepLimit || step <= *stepLimit; ++step) {
        if (queueEventsOf(step)) {
            result.end = ReplayEnd::Quit;
            return result;
        }
        if (pacer != nullptr && !pacer->waitForStep()) {
            result.end = ReplayEnd::Closed;
            return result;
        }
        const bool over = stepWorld(world);
        if (pacer != nullptr) {
            pacer->stepEnded();
        }
        result.stepsRun = step;
        if (trace != nullptr) {
            trace->writeStep(step, world);
        }
        if (!matchesCheckpoints(step, result)) {
            return result;
        }
        if (over) {
            result.end = world.player.hp <= 0 ? ReplayEnd::Death : ReplayEnd::Win;
            return result;
        }
    }
    result.end = ReplayEnd::StepLimit;
    return result;
}
