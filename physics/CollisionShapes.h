#pragma once

#include <cstdint>

// A solid line segment of the level. The side bits of `type` say which sides stop things:
// bit 1 the side opposite the normal (a floor walked on from above), bit 2 the normal's side.
struct CollisionVector {
    CollisionVector(float x, float y, float dx, float dy, uint8_t type, uint32_t id);

    float x = 0.0f;
    float y = 0.0f;
    float dx = 0.0f;
    float dy = 0.0f;
    float nx = 0.0f; // unit normal (-dy, dx); not a number for a segment of zero length,
    float ny = 0.0f; // which makes every contact test against that segment fail
    uint8_t type = 0;
    uint32_t id = 0;
};

// Quarter bits of CollisionArc::quadrant, seen on screen (y grows downward).
enum ArcQuarter : uint8_t {
    kQuarterLowerRight = 1,
    kQuarterLowerLeft = 2,
    kQuarterUpperLeft = 4,
    kQuarterUpperRight = 8,
};

// Behaviour bits of CollisionArc::flag.
enum ArcFlag : uint8_t {
    kArcSolidOutside = 1,
    kArcSolidInside = 2,
    kArcHoldOutside = 4,
    kArcHoldInside = 8,
    kArcAttractionRing = 16,
};

// A circle of which the quarters named in `quadrant` are solid, from the sides named in `flag`.
struct CollisionArc {
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.0f;
    uint8_t quadrant = 0;
    uint8_t flag = 0;
    float minSpeed = 0.0f; // a holding contact at this speed or more suspends gravity
    float distance = 0.0f; // width of the attraction ring beyond the radius
};
