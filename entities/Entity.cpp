#include "entities/Entity.h"

#include "world/Game.h"

#include <cmath>

int32_t nextObjectId = 0;

int32_t takeObjectId()
{
    const int32_t id = nextObjectId;
    ++nextObjectId;
    return id;
}

float discRadius(float width, float height)
{
    const float widened = (width - height) * 0.8f;
    const float sum = widened + height;
    return sum * 0.5f;
}

namespace {

// The unit form of v, or false when v has no usable direction (zero length, or a result
// that is not finite).
bool unitDirection(Vec2 v, Vec2& unit)
{
    const float length = fastSqrt(lengthSquared(v));
    if (length == 0.0f) {
        return false;
    }
    unit = Vec2{v.x / length, v.y / length};
    return std::isfinite(unit.x) && std::isfinite(unit.y);
}

} // namespace

Entity::Entity(float initialSpeed, float left, float top, float boxWidth, float boxHeight,
               float directionX, float directionY)
    : x(left), y(top), width(boxWidth), height(boxHeight), speed(initialSpeed)
{
    Vec2 unit{0.0f, 0.0f};
    if (unitDirection(Vec2{directionX, directionY}, unit)) {
        dirX = unit.x;
        dirY = unit.y;
    }
    id = takeObjectId();
    radius = discRadius(width, height);
}

bool Entity::setDirection(Vec2 v)
{
    Vec2 unit{0.0f, 0.0f};
    if (unitDirection(v, unit)) {
        dirX = unit.x;
        dirY = unit.y;
    }
    return true;
}

bool Entity::setSpeed(float s)
{
    if (!std::isfinite(s)) {
        return true;
    }
    if (s < 0.0f) {
        dirX = dirX * -1.0f;
        dirY = dirY * -1.0f;
        s = s * -1.0f;
    }
    speed = s;
    return true;
}

Entity* findEntityById(int32_t id, Game& world)
{
    for (EntityList& list : world.entityLists) {
        for (const std::unique_ptr<Entity>& entity : list) {
            if (entity->id == id) {
                return entity.get();
            }
        }
    }
    return nullptr;
}
