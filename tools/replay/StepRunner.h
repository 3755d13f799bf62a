#pragma once

#include "tools/replay/InputScript.h"

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <vector>

class Game;
class TraceWriter;

// The SDL 1.2 event that a script event stands for, as SDL would deliver it to the main loop.
SDL_Event toSdlEvent(const ScriptEvent& event);

// How a replay ended.
enum class ReplayEnd {
    Death,     // the step printed "you die"
    Win,       // the avatar passed the winning line: "You win!"
    Quit,      // a quit event of the script; its step did not run
    StepLimit, // the number of steps asked for has run
};

struct ReplayResult {
    ReplayEnd end = ReplayEnd::StepLimit;
    int64_t stepsRun = 0;
};

// Runs a world step after step, without the clock, as the main loop would: before step n the
// script's events for step n are queued in file order, as if they had just been polled, then
// the step of work runs (the world step and the win test). The world never waits on the
// console: the win and the back-quote key go on at once.
class StepRunner {
public:
    // `trace` may be null; otherwise it receives a block after every step that runs.
    StepRunner(Game& world, const std::vector<ScriptEvent>& script, TraceWriter* trace);

    // Runs until death, the win, a quit event, or `stepLimit` steps (no limit if empty).
    ReplayResult run(std::optional<int64_t> stepLimit);

private:
    // Queues the events of one step; returns true if one of them is a quit.
    bool queueEventsOf(int64_t step);

    Game& world;
    std::vector<ScriptEvent> events; // in step order, file order within a step
    size_t nextEvent = 0;
    TraceWriter* trace = nullptr;
};
