#include "world/Game.h"

#include <iostream>

bool Game::frameStep()
{
    physics.step();
    renderer.drawFrame();
    handleInput();
    runChasers();
    renderer.followCamera(avatar());
    spawnEnemyIfNoneLeft();
    if (player.hp <= 0) {
        std::cout << "you die" << std::flush;
        return false;
    }
    return true;
}

void Game::runChasers()
{
    for (Chaser& chaser : chasers) {
        chaser.pursue();
    }
}

// Keeps at least one enemy in the world: when the last one has been shot, a new one appears
// at rest above the middle of the level, with a fresh picture load and its own chaser.
void Game::spawnEnemyIfNoneLeft()
{
    if (!enemies().empty()) {
        return;
    }
    enemies().push_back(std::make_unique<Entity>(0.0f, 1900.0f, 100.0f, 64.0f, 64.0f, 1.0f, 1.0f));
    Entity& spawned = *enemies().back();
    spawned.imageIds.push_back(renderer.loadImage("bitmap1.bmp"));
    chasers.push_back(Chaser{this, spawned.id});
}
