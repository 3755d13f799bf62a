#pragma once

// The replay's trace: a block of text lines per step that says where everything is.
//   step <n> hp <hp>
//   c <camera.x> <camera.y>
//   e <list 1-5> <id> <x> <y> <dirX> <dirY> <speed> <inContact 0|1>   one per entity
// Step 0's block (the world as built, with the level loaded) also lists the level:
//   l <x> <y> <dx> <dy> <nx> <ny> <type> <id>                          one per line
//   a <x> <y> <radius> <quadrant> <flag> <minSpeed> <distance>         one per arc
// Floats are written with "%.9g", so they read back exactly; a negative zero is "-0" and every
// NaN is "nan". Type, quadrant and flag are decimal numbers 0 to 255, line ids unsigned.

#include <cstdint>
#include <ostream>
#include <string>

class Game;

// A float as the trace writes it.
std::string traceFloat(float value);

class TraceWriter {
public:
    explicit TraceWriter(std::ostream& output) : out(output) {}

    // The block of step 0: the step block, then every line and every arc of the level.
    void writeStart(Game& world);

    // The block written after step n has run.
    void writeStep(int64_t step, Game& world);

private:
    void writeLevel(const Game& world);

    std::ostream& out;
};
