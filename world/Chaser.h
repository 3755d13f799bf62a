#pragma once

#include <cstdint>

class Game;

// Steers one enemy, named by its entity id, towards the player's avatar.
struct Chaser {
    // Within 300 units the enemy turns straight at the avatar at speed 120.
    void pursue();

    Game* world = nullptr;
    int32_t entityId = 0;
};
