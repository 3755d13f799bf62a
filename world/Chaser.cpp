#include "world/Chaser.h"

#include "world/Game.h"

namespace {

constexpr float kPursuitRange = 300.0f;
constexpr float kPursuitSpeed = 120.0f;

Entity* findEnemy(Game& world, int32_t id)
{
    for (const std::unique_ptr<Entity>& enemy : world.enemies()) {
        if (enemy->id == id) {
            return enemy.get();
        }
    }
    return nullptr;
}

} // namespace

void Chaser::pursue()
{
    Entity* enemy = findEnemy(*world, entityId);
    if (enemy == nullptr) {
        return;
    }
    const Entity& avatar = *world->player.avatar;
    const Vec2 towardAvatar = avatar.position() - enemy->position();
    const float distance = fastSqrt(lengthSquared(towardAvatar));
    if (!(distance <= kPursuitRange)) {
        return;
    }
    // An enemy right on the avatar has no way to turn; it keeps its direction.
    if (distance > 0.0f) {
        enemy->dirX = towardAvatar.x / distance;
        enemy->dirY = towardAvatar.y / distance;
    }
    enemy->speed = kPursuitSpeed;
}
