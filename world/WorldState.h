#pragma once

// The state of the world after a step, as text lines made for diff, and its hash:
//   step <n> hp <hp>
//   c <camera.x> <camera.y>
//   e <list 1-5> <id> <x> <y> <dirX> <dirY> <speed> <inContact 0|1>   one per entity
// Step 0 (the world as built, with the level loaded) also lists the level's geometry:
//   l <x> <y> <dx> <dy> <nx> <ny> <type> <id>                          one per line
//   a <x> <y> <radius> <quadrant> <flag> <minSpeed> <distance>         one per arc
// Floats are written with "%.9g", so they read back exactly; a negative zero is "-0" and every
// NaN is "nan". Type, quadrant and flag are decimal numbers 0 to 255, line ids unsigned.
// The replay's trace is these blocks one after the other; a recorded session's checkpoints
// are the hashes of the same blocks, so a checkpoint and the trace can never disagree.

#include <cstdint>
#include <ostream>
#include <string>

class Game;

// A float as the state block writes it.
std::string traceFloat(float value);

// The block of step n: hit points, camera and every entity, then, for step 0, the geometry.
void writeStateBlock(std::ostream& out, int64_t step, Game& world);

// The 64-bit FNV-1a hash of some bytes, and as 16 lower-case hexadecimal digits.
uint64_t fnv1a64(const std::string& bytes);
std::string hashText(uint64_t hash);

// The hash of the block of step n.
uint64_t worldStateHash(int64_t step, Game& world);
