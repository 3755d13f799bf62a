#pragma once

// The replay's trace: the world's state block (world/WorldState.h) after every step, from the
// block of step 0 (the world as built, with the level loaded, and the level's geometry) on.

#include "world/WorldState.h"

#include <cstdint>
#include <ostream>

class Game;

class TraceWriter {
public:
    explicit TraceWriter(std::ostream& output) : out(output) {}

    // The block of step 0: the step block, then every line and every arc of the level.
    void writeStart(Game& world);

    // The block written after step n has run.
    void writeStep(int64_t step, Game& world);

private:
    std::ostream& out;
};
