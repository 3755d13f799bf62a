#pragma once

#include "world/Game.h"

// The level pass as a plain walk over every line and every arc, and a world step that uses it:
// what the indexed pass must always agree with, bit for bit. Only the differential test and
// the benchmarks' "before" figures run it.

// Each entity of the list against every line, then (unless a line carried it) every arc, then
// gravity.
void plainLevelPass(Game& world, EntityList& list);

// Game::frameStep with the plain level pass: physics, drawing, commands, pursuit, camera (no
// respawn, no death test). Returns false once the player has no hit points left.
bool plainFrameStep(Game& world);
