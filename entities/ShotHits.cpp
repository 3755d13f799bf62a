#include "entities/ShotHits.h"

#include "physics/Physics.h"
#include "world/Game.h"

#include <algorithm>

namespace {

// Whether the segment of the shot passes within twice the enemy's radius of its top-left
// corner, measured from the closest point of the segment.
bool shotHits(const Shot& shot, const Entity& enemy)
{
    const Vec2 origin{shot.x, shot.y};
    const Vec2 v{shot.dx, shot.dy};
    const float length = fastSqrt(lengthSquared(v));
    const Vec2 toEnemy = enemy.position() - origin;
    const float t = (v.x * toEnemy.x + v.y * toEnemy.y) / length;
    if (!(t >= 0.0f) || t > length) {
        return false;
    }
    const Vec2 closest = origin + t * Vec2{v.x / length, v.y / length};
    const float distance = fastSqrt(lengthSquared(closest - enemy.position()));
    return distance <= 2.0f * enemy.radius;
}

void removeEnemy(Game& world, const Entity* enemy)
{
    EntityList& enemies = world.enemies();
    enemies.erase(
        std::remove_if(enemies.begin(), enemies.end(),
                       [enemy](const std::unique_ptr<Entity>& e) { return e.get() == enemy; }),
        enemies.end());
}

} // namespace

void resolveShots(Physics& physics, std::vector<Chaser>& chasers, std::vector<Shot>& shots)
{
    Game& world = *physics.owner;
    for (const Shot& shot : shots) {
        for (auto chaser = chasers.begin(); chaser != chasers.end();) {
            const Entity* enemy = findEntityById(chaser->entityId, world);
            if (enemy != nullptr && shotHits(shot, *enemy)) {
                removeEnemy(world, enemy);
                chaser = chasers.erase(chaser);
            } else {
                ++chaser;
            }
        }
    }
    shots.clear();
}
