#include "physics/Physics.h"

#include "entities/ShotHits.h"
#include "physics/ArcCollision.h"
#include "physics/LineCollision.h"
#include "world/Game.h"

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
    for (const std::unique_ptr<Entity>& entity : list) {
        entity->inContact = false;
        bool supported = false;
        bool held = false;
        for (const CollisionVector& line : world.lines) {
            collideWithLine(*entity, line, gravity, supported);
        }
        if (!supported) {
            for (const CollisionArc& arc : world.arcs) {
                collideWithArc(*entity, arc, held);
            }
        }
        if (!held) {
            const Vec2 velocity = gravity + entity->velocity();
            entity->setSpeed(fastSqrt(lengthSquared(velocity)));
            entity->setDirection(velocity);
        }
    }
}
