#include "physics/Physics.h"

#include "entities/ShotHits.h"
#include "physics/ArcCollision.h"
#include "physics/LineCollision.h"
#include "world/Game.h"

namespace {

// Tries, in list order, the shapes that `gather` finds near the entity. Whenever one moves the
// entity, the shapes after it are gathered again for its new place, so every shape that could
// act where the entity then stands is tried, and a shape passed over could not have changed it.
template <typename Shape, typename Gather, typename Try>
void tryNearby(Entity& entity, const ShapeList<Shape>& shapes, Gather gather,
               const std::vector<uint32_t>& nearby, Try tryShape)
{
    gather(0);
    size_t next = 0;
    while (next < nearby.size()) {
        const uint32_t number = nearby[next];
        const float x = entity.x;
        const float y = entity.y;
        tryShape(shapes[number]);
        if (entity.x != x || entity.y != y) {
            gather(number + 1);
            next = 0;
        } else {
            ++next;
        }
    }
}

} // namespace

void Physics::step()
{
    Game& world = *owner;
    for (EntityList& list : world.entityLists) {
        moveAll(list);
    }
    collideEntities(world.avatars(), world.enemies());
    collideEntities(world.levelPictures(), world.avatars());
    collideEntities(world.levelPictures(), world.enemies());
    collideWithLevel(world.avatars());
    collideWithLevel(world.enemies());
    collideWithLevel(world.levelPictures());
    resolveShots(*this, world.chasers, world.player.currentWeapon().shots);
}

void Physics::moveAll(EntityList& list)
{
    for (const std::unique_ptr<Entity>& entity : list) {
        const Vec2 velocity = entity->velocity();
        entity->x = entity->x + velocity.x / 60.0f;
        entity->y = entity->y + velocity.y / 60.0f;
    }
}

void Physics::collideWithLevel(EntityList& list)
{
    const Game& world = *owner;
    shapeIndex.update(world.lines, world.arcs);
    for (const std::unique_ptr<Entity>& each : list) {
        Entity& entity = *each;
        entity.inContact = false;
        bool supported = false;
        bool held = false;
        tryNearby(
            entity, world.lines, [&](uint32_t from) { shapeIndex.linesNear(entity, from, nearby); },
            nearby,
            [&](const CollisionVector& line) {
                collideWithLine(entity, line, gravity, supported);
            });
        if (!supported) {
            tryNearby(
                entity, world.arcs,
                [&](uint32_t from) { shapeIndex.arcsNear(entity, from, nearby); }, nearby,
                [&](const CollisionArc& arc) { collideWithArc(entity, arc, held); });
        }
        if (!held) {
            const Vec2 velocity = gravity + entity.velocity();
            entity.setSpeed(fastSqrt(lengthSquared(velocity)));
            entity.setDirection(velocity);
        }
    }
}
