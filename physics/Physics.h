#pragma once

#include "entities/Entity.h"
#include "physics/ShapeIndex.h"
#include "physics/Vec2.h"

#include <cstdint>
#include <vector>

class Game;

// The world's physics: one call of step() is one step of 1/60 second of game time.
class Physics {
public:
    explicit Physics(Game* world) : owner(world) {}

    // Motion, contacts between entities, the level pass with gravity, then the shots.
    void step();

    // Every entity advances by speed * direction / 60.
    void moveAll(EntityList& list);

    // Each entity against every line, then (unless a line carried it) every arc, then gravity.
    // Only the shapes that the index finds near the entity are tried: the others cannot act.
    void collideWithLevel(EntityList& list);

    // Entities of `a` bounce off entities of `b`; each contact is logged and queued as an event.
    void collideEntities(EntityList& a, EntityList& b);

    Vec2 gravity{0.0f, 10.0f};
    Game* owner = nullptr;
    ShapeIndex shapeIndex;

private:
    std::vector<uint32_t> nearby;
};
