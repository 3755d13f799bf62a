#pragma once

#include "physics/Vec2.h"

#include <cstdint>
#include <memory>
#include <vector>

class Game;

// The process-wide id counter shared by entities, loaded pictures and tiles: whoever needs an
// id reads it and counts it up, so ids are unique and follow the order of construction.
extern int32_t nextObjectId;

int32_t takeObjectId();

// One moving thing of the world: a box with its top-left corner at (x, y), a unit direction
// and a scalar speed, a collision radius fixed at construction and the ids of its pictures.
class Entity {
public:
    Entity(float speed, float x, float y, float width, float height, float directionX,
           float directionY);

    // Stores v made unit. A vector whose length comes out 0, or whose unit form is not
    // finite, leaves the direction as it was, so no NaN ever reaches the entity.
    bool setDirection(Vec2 v);

    // A negative speed reverses the direction and is stored as its magnitude. A speed that
    // is not a finite number (only a hostile level's extreme values can produce one) is
    // ignored, so velocities and positions stay numbers.
    bool setSpeed(float s);

    Vec2 position() const { return Vec2{x, y}; }
    Vec2 direction() const { return Vec2{dirX, dirY}; }
    Vec2 velocity() const { return Vec2{speed * dirX, speed * dirY}; }
    Vec2 boxCentre() const { return Vec2{x + width * 0.5f, y + height * 0.5f}; }

    int32_t id = 0;
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    float dirX = 0.0f;
    float dirY = 0.0f;
    float speed = 0.0f;
    std::vector<int32_t> imageIds;
    float radius = 0.0f;
    bool inContact = false;
};

// An ordered list of entities owned by the world; additions append at the back.
using EntityList = std::vector<std::unique_ptr<Entity>>;

// The radius of the circle that stands for a box, for collisions and for the picture's disc.
float discRadius(float width, float height);

// The first entity with that id, searching the world's five entity lists in order; null if none.
Entity* findEntityById(int32_t id, Game& world);
