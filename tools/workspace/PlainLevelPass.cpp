#include "workspace/PlainLevelPass.h"

#include "entities/ShotHits.h"
#include "physics/ArcCollision.h"
#include "physics/LineCollision.h"

void plainLevelPass(Game& world, EntityList& list)
{
    const Vec2 gravity = world.physics.gravity;
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

bool plainFrameStep(Game& world)
{
    Physics& physics = world.physics;
    for (EntityList& list : world.entityLists) {
        physics.moveAll(list);
    }
    physics.collideEntities(world.avatars(), world.enemies());
    physics.collideEntities(world.levelPictures(), world.avatars());
    physics.collideEntities(world.levelPictures(), world.enemies());
    plainLevelPass(world, world.avatars());
    plainLevelPass(world, world.enemies());
    plainLevelPass(world, world.levelPictures());
    resolveShots(physics, world.chasers, world.player.currentWeapon().shots);
    world.renderer.drawFrame();
    world.handleInput();
    world.runChasers();
    world.renderer.followCamera(world.avatar());
    return world.player.hp > 0;
}
