#include "physics/Physics.h"

#include "app/KeyNumbers.h"
#include "world/Game.h"

#include <iostream>

namespace {

// Two entities whose x components of direction, or whose y components, have the same
// magnitude never collide, overlapping or not.
bool directionsAllowCollision(const Entity& a, const Entity& b)
{
    return a.dirX * a.dirX != b.dirX * b.dirX && a.dirY * a.dirY != b.dirY * b.dirY;
}

// The direction mirrored at the line of contact whose unit normal is n.
Vec2 mirrored(Vec2 direction, Vec2 n)
{
    const float m11 = n.y * n.y - n.x * n.x;
    const float m12 = -2.0f * n.x * n.y;
    const float m22 = n.x * n.x - n.y * n.y;
    const Vec2 u{m11 * direction.x + m12 * direction.y, m12 * direction.x + m22 * direction.y};
    const float length = fastSqrt(lengthSquared(u));
    if (length == 0.0f) {
        return direction;
    }
    return Vec2{u.x / length, u.y / length};
}

// Pushes the two apart along n until their circles just touch, and mirrors both directions.
void separateAndMirror(Entity& a, Entity& b, Vec2 d, float q, float dist)
{
    const float normalLength = fastSqrt(q);
    const Vec2 n{d.x / normalLength, d.y / normalLength};
    const float h = (a.radius + b.radius - dist) * 0.5f;
    a.x = a.x + h * n.x;
    a.y = a.y + h * n.y;
    b.x = b.x - h * n.x;
    b.y = b.y - h * n.y;
    const Vec2 aDirection = mirrored(a.direction(), n);
    const Vec2 bDirection = mirrored(b.direction(), n);
    a.dirX = aDirection.x;
    a.dirY = aDirection.y;
    b.dirX = bDirection.x;
    b.dirY = bDirection.y;
}

} // namespace

void Physics::collideEntities(EntityList& a, EntityList& b)
{
    Game& world = *owner;
    for (const std::unique_ptr<Entity>& first : a) {
        for (const std::unique_ptr<Entity>& second : b) {
            const Vec2 d = first->position() - second->position();
            const float q = lengthSquared(d);
            const float dist = fastSqrt(q);
            if (!(dist <= first->radius + second->radius)) {
                continue;
            }
            if (!directionsAllowCollision(*first, *second)) {
                continue;
            }
            std::cout << "Collision Occured" << std::endl;
            std::cout << "Magnitude of Collision: " << dist << std::endl;
            // Entities on the same spot have no line of contact: they stay as they are.
            if (dist > 0.0f) {
                separateAndMirror(*first, *second, d, q, dist);
            }
            InputEvent event = keySymbolEvent(&world, kEntityCollision, kKeyD);
            event.firstId = first->id;
            event.secondId = second->id;
            world.inputQueue.push_back(event);
        }
    }
}
