#pragma once

#include "tools/replay/InputScript.h"

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <vector>

class Game;
class Pacer;
class TraceWriter;

// The SDL 1.2 event that a script event stands for, as SDL would deliver it to the main loop.
SDL_Event toSdlEvent(const ScriptEvent& event);

// How a replay ended.
enum class ReplayEnd {
    Death,     // the step printed "you die"
    Win,       // the avatar passed the winning line: "You win!"
    Quit,      // a quit event of the script; its step did not run
    StepLimit, // the number of steps asked for has run
    Desync,    // the world's state differs from a checkpoint of the script
    Closed,    // the window of --watch or --timedemo was closed
};

struct ReplayResult {
    ReplayEnd end = ReplayEnd::StepLimit;
    int64_t stepsRun = 0;
    // For a desync: the checkpoint's step, its hash and the hash of the world here.
    int64_t desyncStep = 0;
    uint64_t recordedHash = 0;
    uint64_t stateHash = 0;
};

// Runs a world step after step, without the clock, as the main loop would: before step n the
// script's events for step n are queued in file order, as if they had just been polled, then
// the step of work runs (the world step and the win test). The world never waits on the
// console: the win and the back-quote key go on at once.
class StepRunner {
public:
    // `trace` may be null; otherwise it receives a block after every step that runs.
    StepRunner(Game& world, const std::vector<ScriptEvent>& script, TraceWriter* trace);

    // Compares the world's state with the script's checkpoints: step 0's before the first step,
    // the others after their step has run (and its trace block is written).
    void checkAgainst(const std::vector<ScriptEvent>& checkpoints);

    // Lets the pacer time every step (--watch, --timedemo); without one, steps follow at once.
    void pacedBy(Pacer* stepPacer) { pacer = stepPacer; }

    // Runs until death, the win, a quit event, a desync, the window's close, or `stepLimit`
    // steps (no limit if empty).
    ReplayResult run(std::optional<int64_t> stepLimit);

private:
    // Queues the events of one step; returns true if one of them is a quit.
    bool queueEventsOf(int64_t step);

    // Compares the checkpoints of one step; false, with the result filled in, on a difference.
    bool matchesCheckpoints(int64_t step, ReplayResult& result);

    Game& world;
    std::vector<ScriptEvent> events; // in step order, file order within a step
    size_t nextEvent = 0;
    std::vector<ScriptEvent> checkpoints; // in step order
    size_t nextCheckpoint = 0;
    TraceWriter* trace = nullptr;
    Pacer* pacer = nullptr;
};
