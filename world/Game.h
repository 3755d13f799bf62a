#pragma once

#include "app/InputEvent.h"
#include "entities/Entity.h"
#include "entities/Player.h"
#include "gfx/Renderer.h"
#include "physics/CollisionShapes.h"
#include "physics/Physics.h"
#include "physics/ShapeList.h"
#include "world/Chaser.h"
#include "world/Tile.h"

#include <array>
#include <cstdint>
#include <vector>

// Positions of the five entity lists in Game::entityLists.
enum EntityListIndex {
    kAvatarList = 0,       // the avatar, always first
    kEnemyList = 1,        // the enemies; each has a Chaser
    kThirdList = 2,        // moved and drawn, nothing fills it
    kFourthList = 3,       // moved and drawn, nothing fills it
    kLevelPictureList = 4, // pictures placed by the level file
    kEntityListCount = 5,
};

// The one world object: it owns every list of things in play and runs the world's steps.
class Game {
public:
    // Builds the world with its built-in scene. Window mode needs a current OpenGL context.
    explicit Game(RenderMode mode = RenderMode::Window);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // One world step: physics, drawing, commands, pursuit, camera, spawn, death test.
    // Returns false once the player has no hit points left.
    bool frameStep();

    // Hands every queued event to the player's commands, empties the queue, then queues the
    // held-key events for the next step.
    void handleInput();

    // Lets every chaser pursue the avatar.
    void runChasers();

    // Appends an arc to the level; returns true.
    bool addArc(const CollisionArc& arc);

    EntityList& avatars() { return entityLists[kAvatarList]; }
    EntityList& enemies() { return entityLists[kEnemyList]; }
    EntityList& levelPictures() { return entityLists[kLevelPictureList]; }
    Entity& avatar() { return *avatars().front(); }

    bool leftHeld = false;
    bool rightHeld = false;
    Physics physics;
    Renderer renderer;
    Player player;
    std::array<EntityList, kEntityListCount> entityLists;
    ShapeList<CollisionVector> lines;
    ShapeList<CollisionArc> arcs;
    std::vector<Chaser> chasers;
    std::vector<InputEvent> inputQueue;
    std::vector<Tile> tiles;

    // Reads one character from the console; the win and the back-quote key wait on it.
    // Tools that must not block replace it.
    int (*readConsoleChar)() = nullptr;

private:
    void placeBuiltinScene();
    void spawnEnemyIfNoneLeft();
};
