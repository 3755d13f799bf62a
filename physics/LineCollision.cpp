#include "physics/LineCollision.h"

#include "entities/Entity.h"
#include "physics/CollisionShapes.h"

namespace {

enum LineSide : uint8_t {
    kSolidBehind = 1,  // the side opposite the normal
    kSolidInFront = 2, // the normal's side
};

// Everything the contact tests need, computed once per entity and line.
struct LineContact {
    Vec2 d;       // the segment vector
    float length; // its fastSqrt length
    float s;      // signed distance of the box centre from the line, positive on the normal's side
    float t;      // position of the box centre along the segment, 0 at its start
    float c1;     // side of the entity's side point relative to the line
    float c2;     // side gravity pulls towards
    float c3;     // side the entity's direction points towards
    float r;      // the entity's radius
};

LineContact measure(const Entity& entity, const CollisionVector& line, Vec2 gravity)
{
    LineContact contact{};
    contact.d = Vec2{line.dx, line.dy};
    contact.length = fastSqrt(lengthSquared(contact.d));
    const Vec2 rel = entity.boxCentre() - Vec2{line.x, line.y};
    contact.s = line.nx * rel.x + line.ny * rel.y;
    contact.t = (contact.d.x * rel.x + contact.d.y * rel.y) / contact.length;
    const Vec2 sidePoint{entity.x + entity.radius * 0.5f, entity.y + entity.radius * 0.5f};
    const Vec2 q = sidePoint - Vec2{line.x, line.y};
    contact.c1 = contact.d.y * q.x - contact.d.x * q.y;
    contact.c2 = contact.d.y * gravity.x - gravity.y * contact.d.x;
    contact.c3 = contact.d.y * entity.dirX - entity.dirY * contact.d.x;
    contact.r = entity.radius;
    return contact;
}

bool withinSegment(const LineContact& contact)
{
    return 0.0f <= contact.t && contact.t <= contact.length;
}

// A product that is positive, or not a number, stops the contact.
bool stops(float product) { return !(product <= 0.0f); }

// The push has been made; when gravity presses the entity against the line, keep only the
// part of the velocity along the line and mark the entity carried.
void respond(Entity& entity, const LineContact& contact, bool& supported)
{
    const Vec2 velocity = entity.velocity();
    const float along = (contact.d.x * velocity.x + contact.d.y * velocity.y) / contact.length;
    if (stops(contact.c2 * contact.c1)) {
        return;
    }
    entity.setDirection(contact.d);
    entity.setSpeed(along);
    supported = true;
    entity.inContact = true;
}

} // namespace

void collideWithLine(Entity& entity, const CollisionVector& line, Vec2 gravity, bool& supported)
{
    const LineContact contact = measure(entity, line, gravity);
    if (!(contact.s > 0.0f)) {
        const bool behindZone =
            -contact.r <= contact.s && withinSegment(contact) && (line.type & kSolidBehind) != 0;
        if (behindZone) {
            if (stops(contact.c3 * contact.c1)) {
                return;
            }
            const float push = contact.r + contact.s;
            entity.x = entity.x - line.nx * push;
            entity.y = entity.y - line.ny * push;
            respond(entity, contact, supported);
            return;
        }
    }
    const bool frontZone = contact.s >= 0.0f && contact.s <= contact.r && withinSegment(contact) &&
                           (line.type & kSolidInFront) != 0;
    if (!frontZone || stops(contact.c3 * contact.c1)) {
        return;
    }
    const float push = contact.r - contact.s;
    entity.x = entity.x + line.nx * push;
    entity.y = entity.y + line.ny * push;
    respond(entity, contact, supported);
}
