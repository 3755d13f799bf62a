#include "entities/Entity.h"
#include "physics/ArcCollision.h"
#include "physics/CollisionShapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

// The big arc of the built-in scene: three solid quarters (the lower-left one is open),
// solid and holding from both sides at 60 and more.
const CollisionArc kLoop{400, 210, 200, 13, 15, 60, -1};

// A quarter circle of radius 140 (lower right) around (400, 210), holding at any speed.
CollisionArc rim(uint8_t flag) { return CollisionArc{400, 210, 140, 1, flag, -1, -1}; }

// A full circle of radius 50 around (400, 160) with a ring `distance` wide beyond it.
CollisionArc ring(uint8_t flag, float distance)
{
    return CollisionArc{400, 160, 50, 15, flag, -1, distance};
}

// What collideWithArc does to a 64 by 64 entity (radius 32) whose box centre is at (cx, cy).
struct Touch {
    Entity entity;
    bool held = false;
};

Touch touch(const CollisionArc& arc, float cx, float cy, float speed, float dirX, float dirY)
{
    Touch result{Entity(speed, cx - 32.0f, cy - 32.0f, 64, 64, dirX, dirY)};
    collideWithArc(result.entity, arc, result.held);
    return result;
}

// Where an entity is and how it moves, for comparing states exactly.
std::tuple<float, float, float, float, float, bool> motion(const Entity& entity)
{
    return {entity.x, entity.y, entity.dirX, entity.dirY, entity.speed, entity.inContact};
}

TEST(ArcCollision, AContactPutsTheBoxCentreOneRadiusFromTheRimAlongTheTangent)
{
    const struct {
        const char* what;
        CollisionArc arc;
        float cx, cy, speed;
        float distance; // of the box centre from the arc's centre afterwards
        bool held;
    } cases[] = {
        {"inside, under the minimum speed", kLoop, 508, 354, 59, 168, false},
        {"inside, at the minimum speed", kLoop, 508, 354, 60, 168, true},
        {"outside", kLoop, 527.2f, 379.6f, 100, 232, true},
        {"at rest, negative minimum", {400, 210, 200, 13, 15, -1, -1}, 508, 354, 0, 168, true},
        // fastSqrt(84² + 112²) is exactly 140: on the rim (k = 0) the contact is an inside one
        // whenever the inside is solid.
        {"on the rim, solid inside", rim(1 | 2 | 8), 484, 322, 100, 108, true},
        {"on the rim, holding outside only", rim(1 | 2 | 4), 484, 322, 100, 108, false},
        {"on the rim, solid outside only", rim(1 | 4), 484, 322, 100, 172, true},
        // The corner starts inside the ring; the push takes it out before the ring is measured.
        {"pushed out of its own ring", ring(16 | 1, 60), 364, 112, 100, 82, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const Touch after = touch(test.arc, test.cx, test.cy, test.speed, 0.6f, 0.8f);
        EXPECT_EQ(after.held, test.held);
        EXPECT_TRUE(after.entity.inContact);
        const Vec2 rel = after.entity.boxCentre() - Vec2{test.arc.x, test.arc.y};
        EXPECT_NEAR(std::hypot(rel.x, rel.y), test.distance, 1e-3f);
        EXPECT_NEAR(dot(after.entity.direction(), rel), 0.0f, 1e-3f);
        EXPECT_EQ(after.entity.speed, test.speed);
    }

    // Of the two tangents the turn takes the one that goes on the way the entity was heading.
    const CollisionArc circle{400, 210, 100, 15, 1, 1000, -1};
    const Touch left = touch(circle, 472, 114, 200, -1, 0);
    const Touch right = touch(circle, 472, 114, 200, 1, 0);
    EXPECT_NEAR(left.entity.dirX, -0.8f, 1e-5f);
    EXPECT_NEAR(left.entity.dirY, -0.6f, 1e-5f);
    EXPECT_NEAR(right.entity.dirX, 0.8f, 1e-5f);
    EXPECT_NEAR(right.entity.dirY, 0.6f, 1e-5f);
}

TEST(ArcCollision, TheRingPullsTheCornerWithTwentyHalfWayAcross)
{
    // Ring from 50 to 110 around (400, 160); the corner is 80 away, straight below the centre.
    // The box centre is 116 away, beyond the ring: the ring measures from the corner.
    const Touch after = touch(ring(16, 60), 432, 272, 0, 1, 0);
    EXPECT_TRUE(after.held);
    EXPECT_FALSE(after.entity.inContact);
    EXPECT_NEAR(after.entity.speed, 20.0f, 1e-3f);
    EXPECT_NEAR(after.entity.dirX, 0.0f, 1e-6f);
    EXPECT_NEAR(after.entity.dirY, -1.0f, 1e-5f);
    EXPECT_EQ(after.entity.y, 240.0f); // the ring changes the velocity only
}

TEST(ArcCollision, LeavesEntitiesAloneWhereNoQuarterOrRingReaches)
{
    const CollisionArc full{400, 210, 200, 15, 15, -1, -1};
    const struct {
        const char* what;
        CollisionArc arc;
        float cx, cy;
        bool held;
    } cases[] = {
        {"inside, open lower-left quarter", kLoop, 292, 354, false},
        {"outside, open lower-left quarter", kLoop, 272.8f, 379.6f, false},
        {"straight below the centre", full, 400, 390, false},
        {"straight right of the centre", full, 580, 210, false},
        {"ring of width 0", ring(16 | 4 | 1, 0), 432, 242.5f, false},
        // 1e-24 from the arc's centre in both axes: in the upper-left quarter, but the squared
        // distance rounds to 0, so there is no normal to push along.
        {"centre too close to measure", {1e-24f, 1e-24f, 10, 15, 2 | 8, -1, -1}, 0, 0, false},
        // Only a negative radius lets the corner itself lie in the ring: it holds, but there
        // is no way to pull.
        {"ring centred on the corner", {100, 100, -10, 15, 16, -1, 50}, 132, 132, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        const Touch after = touch(test.arc, test.cx, test.cy, 100, 0.6f, 0.8f);
        const Entity before(100, test.cx - 32.0f, test.cy - 32.0f, 64, 64, 0.6f, 0.8f);
        EXPECT_EQ(after.held, test.held);
        EXPECT_EQ(motion(after.entity), motion(before));
    }
}

} // namespace
