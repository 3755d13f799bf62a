#include "physics/ArcCollision.h"

#include "entities/Entity.h"
#include "physics/CollisionShapes.h"

namespace {

// The quarter bit of rel; 0 on the axes, which belong to no quarter.
uint8_t quarterOf(Vec2 rel)
{
    if (rel.x > 0.0f && rel.y > 0.0f) {
        return kQuarterLowerRight;
    }
    if (rel.x < 0.0f && rel.y > 0.0f) {
        return kQuarterLowerLeft;
    }
    if (rel.x < 0.0f && rel.y < 0.0f) {
        return kQuarterUpperLeft;
    }
    if (rel.x > 0.0f && rel.y < 0.0f) {
        return kQuarterUpperRight;
    }
    return 0;
}

bool quarterIsSolid(const CollisionArc& arc, Vec2 rel)
{
    return (arc.quadrant & quarterOf(rel)) != 0;
}

// Of the two tangent directions, the one that agrees with the current direction.
void turnAlongTangent(Entity& entity, Vec2 rel)
{
    const Vec2 tangent{-rel.y, rel.x};
    const float z = rel.y * entity.dirX - rel.x * entity.dirY;
    if (z <= 0.0f) {
        entity.setDirection(tangent);
    } else {
        entity.setDirection(Vec2{-tangent.x, -tangent.y});
    }
}

void holdIfFastEnough(const Entity& entity, const CollisionArc& arc, uint8_t holdBit, bool& held)
{
    if (entity.speed >= arc.minSpeed && (arc.flag & holdBit) != 0) {
        held = true;
    }
}

// The ring beyond the rim pulls an entity's top-left corner towards the centre: 40 at the
// rim, falling to 0 at the ring's outer edge, and suspends gravity for it.
void pullIntoRing(Entity& entity, const CollisionArc& arc, bool& held)
{
    const Vec2 toCentre{arc.x - entity.x, arc.y - entity.y};
    const float p = fastSqrt(lengthSquared(toCentre));
    const float r = arc.radius;
    if ((arc.flag & kArcAttractionRing) == 0 || !(r < p) || !(p < r + arc.distance)) {
        return;
    }
    held = true;
    const float e = p - r;
    const float pull = 40.0f - (e * 40.0f) / arc.distance;
    if (p == 0.0f) {
        return; // a ring centred on the corner itself has no way to pull
    }
    const Vec2 unit{toCentre.x / p, toCentre.y / p};
    const Vec2 velocity = entity.velocity() + pull * unit;
    entity.setSpeed(fastSqrt(lengthSquared(velocity)));
    entity.setDirection(velocity);
}

} // namespace

void collideWithArc(Entity& entity, const CollisionArc& arc, bool& held)
{
    const Vec2 rel = entity.boxCentre() - Vec2{arc.x, arc.y};
    const float distance = fastSqrt(lengthSquared(rel));
    const float k = arc.radius - distance;
    const float r = entity.radius;
    const bool inside = 0.0f <= k && k <= r && (arc.flag & kArcSolidInside) != 0;
    const bool outside = !inside && k <= 0.0f && -r <= k && (arc.flag & kArcSolidOutside) != 0;
    // A box centre whose distance from the centre comes out 0 (it can be a hair away, with the
    // squared distance rounding to 0) has no normal to be pushed along: no contact.
    if ((inside || outside) && distance > 0.0f && quarterIsSolid(arc, rel)) {
        turnAlongTangent(entity, rel);
        const Vec2 n = normalized(rel);
        // Inside contacts end one radius within the rim, outside contacts one radius beyond it.
        const float push = inside ? -(r - k) : (r + k);
        entity.x = entity.x + n.x * push;
        entity.y = entity.y + n.y * push;
        entity.inContact = true;
        holdIfFastEnough(entity, arc, inside ? kArcHoldInside : kArcHoldOutside, held);
    }
    pullIntoRing(entity, arc, held);
}
