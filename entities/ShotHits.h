#pragma once

#include "entities/Player.h"
#include "world/Chaser.h"

#include <vector>

class Physics;

// Tests every pending shot against every chased enemy, removes the enemies hit together with
// their chasers, and then discards all pending shots.
void resolveShots(Physics& physics, std::vector<Chaser>& chasers, std::vector<Shot>& shots);
