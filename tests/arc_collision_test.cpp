#include "entities/Entity.h"
#include "physics/ArcCollision.h"
#include "physics/CollisionShapes.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

CollisionArc arcAt(float x, float y, float radius, uint8_t quadrant, uint8_t flag, float minSpeed,
                   float distance)
{
    CollisionArc arc;
    arc.x = x;
    arc.y = y;
    arc.radius = radius;
    arc.quadrant = quadrant;
    arc.flag = flag;
    arc.minSpeed = minSpeed;
    arc.distance = distance;
    return arc;
}

// The big arc of the built-in scene: three solid quarters (the lower-left one is open),
// solid and holding from both sides at 60 and more.
CollisionArc threeQuarterLoop() { return arcAt(400, 210, 200, 13, 15, 60, -1); }

// A 64 by 64 entity (radius 32) whose box centre is at (cx, cy).
Entity boxAt(float cx, float cy, float speed, float dirX, float dirY)
{
    return Entity(speed, cx - 32.0f, cy - 32.0f, 64, 64, dirX, dirY);
}

float centreDistance(const Entity& entity, const CollisionArc& arc)
{
    return std::hypot(entity.x + 32.0f - arc.x, entity.y + 32.0f - arc.y);
}

bool touch(Entity& entity, const CollisionArc& arc)
{
    bool held = false;
    collideWithArc(entity, arc, held);
    return held;
}

void expectUntouched(const Entity& after, const Entity& before)
{
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, before.y);
    EXPECT_EQ(after.dirX, before.dirX);
    EXPECT_EQ(after.dirY, before.dirY);
    EXPECT_EQ(after.speed, before.speed);
    EXPECT_FALSE(after.inContact);
}

TEST(ArcCollision, ASolidQuarterPutsEntitiesBackOnTheirSideOfTheRim)
{
    const CollisionArc loop = threeQuarterLoop();
    // Box centres 20 inside and 12 outside the rim, in the solid lower-right quarter (the
    // mirrored places in the open quarter are in the table of untouched cases below).
    Entity inside = boxAt(400 + 108, 210 + 144, 100, 0.6f, 0.8f);
    EXPECT_TRUE(touch(inside, loop));
    EXPECT_TRUE(inside.inContact);
    EXPECT_NEAR(centreDistance(inside, loop), 168.0f, 1e-3f);
    Entity outside = boxAt(400 + 127.2f, 210 + 169.6f, 100, -0.6f, -0.8f);
    EXPECT_TRUE(touch(outside, loop));
    EXPECT_TRUE(outside.inContact);
    EXPECT_NEAR(centreDistance(outside, loop), 232.0f, 1e-3f);
}

TEST(ArcCollision, AContactTurnsAlongTheTangentAndKeepsTheSpeed)
{
    const CollisionArc circle = arcAt(400, 210, 100, 15, 1, 1000, -1);
    // Arriving at 200 over the upper right of the rim, heading left.
    Entity entity = boxAt(400 + 72, 210 - 96, 200, -1, 0);
    EXPECT_FALSE(touch(entity, circle)); // far too slow to be held at 1000
    EXPECT_TRUE(entity.inContact);
    EXPECT_EQ(entity.speed, 200.0f);
    const Vec2 n{0.6f, -0.8f}; // from the arc's centre towards the box centre
    EXPECT_NEAR(entity.dirX * n.x + entity.dirY * n.y, 0.0f, 1e-5f);
    EXPECT_NEAR(entity.dirX * entity.dirX + entity.dirY * entity.dirY, 1.0f, 1e-4f);
    // Of the two tangents, the one that goes on the way it was heading: left (and up).
    EXPECT_LT(entity.dirX, 0.0f);
    EXPECT_LT(entity.dirY, 0.0f);
    EXPECT_NEAR(centreDistance(entity, circle), 132.0f, 1e-3f);

    // Heading the other way round, it is turned the other way.
    Entity other = boxAt(400 + 72, 210 - 96, 200, 1, 0);
    touch(other, circle);
    EXPECT_GT(other.dirX, 0.0f);
    EXPECT_GT(other.dirY, 0.0f);
}

TEST(ArcCollision, HoldingNeedsTheMinimumSpeedAndSuspendsGravityInTheLevelPass)
{
    const CollisionArc loop = threeQuarterLoop();
    auto game = makeHeadlessGame();
    game->lines.clear();
    game->arcs = {loop};
    const Entity& avatar = game->avatar();
    for (float speed : {59.0f, 60.0f}) {
        const Entity start = boxAt(400 + 108, 210 + 144, speed, 0.6f, 0.8f);
        Entity alone = start;
        EXPECT_EQ(touch(alone, loop), speed == 60.0f) << speed;
        EXPECT_TRUE(alone.inContact);
        EXPECT_EQ(alone.speed, speed);

        placeAvatar(*game, start.x, start.y, start.speed, start.dirX, start.dirY);
        game->physics.collideWithLevel(game->avatars());
        EXPECT_TRUE(avatar.inContact);
        if (speed == 60.0f) {
            EXPECT_EQ(avatar.speed, 60.0f);
            EXPECT_NEAR(avatar.dirX * 0.6f + avatar.dirY * 0.8f, 0.0f, 1e-5f); // still tangent
        } else {
            EXPECT_GT(avatar.dirX * 0.6f + avatar.dirY * 0.8f, 0.1f); // gravity bent it outwards
        }
    }
    // A negative minimum holds every contact, even at rest.
    CollisionArc always = loop;
    always.minSpeed = -1;
    Entity resting = boxAt(400 + 108, 210 + 144, 0, 0.6f, 0.8f);
    EXPECT_TRUE(touch(resting, always));
}

TEST(ArcCollision, ACentreExactlyOnTheRimIsAnInsideContactWhenTheInsideIsSolid)
{
    // fastSqrt(84² + 112²) is exactly 140, so the box centre sits exactly on the rim (k = 0).
    const float startX = 400 + 84 - 32;
    const float startY = 210 + 112 - 32;
    Entity both(100, startX, startY, 64, 64, 0.6f, 0.8f);
    EXPECT_TRUE(touch(both, arcAt(400, 210, 140, 1, 1 | 2 | 8, -1, -1)));
    EXPECT_NEAR(both.x, startX - 0.6f * 32, 1e-3f); // pushed in, one radius inside the rim
    EXPECT_NEAR(both.y, startY - 0.8f * 32, 1e-3f);

    Entity noInsideHold(100, startX, startY, 64, 64, 0.6f, 0.8f);
    EXPECT_FALSE(touch(noInsideHold, arcAt(400, 210, 140, 1, 1 | 2 | 4, -1, -1)));
    EXPECT_TRUE(noInsideHold.inContact);

    Entity outsideOnly(100, startX, startY, 64, 64, 0.6f, 0.8f);
    EXPECT_TRUE(touch(outsideOnly, arcAt(400, 210, 140, 1, 1 | 4, -1, -1)));
    EXPECT_NEAR(outsideOnly.x, startX + 0.6f * 32, 1e-3f); // pushed out instead
    EXPECT_NEAR(outsideOnly.y, startY + 0.8f * 32, 1e-3f);
}

TEST(ArcCollision, TheRingPullsTheCornerWithTwentyHalfWayAcross)
{
    // Ring from 50 to 110 around (400, 160); the corner is 80 away, straight below the centre.
    // The box centre is 116 away, beyond the ring: the ring measures from the corner.
    const CollisionArc ring = arcAt(400, 160, 50, 15, 16, -1, 60);
    Entity entity(0, 400, 240, 64, 64, 1, 0);
    EXPECT_TRUE(touch(entity, ring));
    EXPECT_FALSE(entity.inContact);
    EXPECT_NEAR(entity.speed, 20.0f, 1e-3f);
    EXPECT_NEAR(entity.dirX, 0.0f, 1e-6f);
    EXPECT_NEAR(entity.dirY, -1.0f, 1e-5f);
    EXPECT_EQ(entity.x, 400.0f); // the ring changes the velocity only
    EXPECT_EQ(entity.y, 240.0f);

    // In a world step the ring takes the place of gravity.
    auto game = makeHeadlessGame();
    game->lines.clear();
    game->arcs = {ring};
    const Entity& avatar = placeAvatar(*game, 400, 240, 0, 1, 0);
    game->physics.collideWithLevel(game->avatars());
    EXPECT_NEAR(avatar.speed, 20.0f, 1e-3f);
    EXPECT_NEAR(avatar.dirY, -1.0f, 1e-5f);
}

TEST(ArcCollision, TheRingMeasuresTheCornerAfterThePush)
{
    // An outside contact in the upper-left quarter pushes the corner out of the ring.
    const CollisionArc ringed = arcAt(400, 160, 50, 15, 16 | 1, -1, 60);
    Entity entity = boxAt(400 - 36, 160 - 48, 100, 0.6f, 0.8f);
    EXPECT_LT(std::hypot(entity.x - 400, entity.y - 160), 110.0f); // in the ring before
    EXPECT_FALSE(touch(entity, ringed));
    EXPECT_TRUE(entity.inContact);
    EXPECT_EQ(entity.speed, 100.0f);
}

TEST(ArcCollision, ARingCentredOnTheCornerHoldsWithoutPulling)
{
    // Only a negative radius lets the corner itself lie in the ring.
    const CollisionArc ring = arcAt(100, 100, -10, 15, 16, -1, 50);
    Entity entity(30, 100, 100, 64, 64, 0.6f, 0.8f);
    const Entity before = entity;
    EXPECT_TRUE(touch(entity, ring));
    expectUntouched(entity, before);
}

TEST(ArcCollision, LeavesEntitiesAloneWhereNoQuarterOrRingReaches)
{
    struct Case {
        const char* what;
        CollisionArc arc;
        Entity entity;
    };
    const CollisionArc full = arcAt(400, 210, 200, 15, 15, -1, -1);
    // Box centres 20 inside the rim or 12 outside it; the rings' corners just beyond the rim.
    const Case cases[] = {
        {"inside, open lower-left quarter", threeQuarterLoop(), boxAt(292, 354, 100, 0.6f, 0.8f)},
        {"outside, open lower-left quarter", threeQuarterLoop(),
         boxAt(400 - 127.2f, 210 + 169.6f, 100, 0.6f, 0.8f)},
        {"straight below the centre", full, boxAt(400, 390, 100, 0.6f, 0.8f)},
        {"straight above the centre", full, boxAt(400, 30, 100, 0.6f, 0.8f)},
        {"straight left of the centre", full, boxAt(220, 210, 100, 0.6f, 0.8f)},
        {"straight right of the centre", full, boxAt(580, 210, 100, 0.6f, 0.8f)},
        {"ring of width 0", arcAt(400, 160, 50, 15, 16 | 4 | 1, -1, 0),
         Entity(100, 400, 210.5f, 64, 64, 1, 0)},
        {"ring of width -1", arcAt(400, 160, 50, 15, 16 | 4 | 1, -1, -1),
         Entity(100, 400, 210.5f, 64, 64, 1, 0)},
        // 1e-24 from the arc's centre in both axes: in the upper-left quarter, but the squared
        // distance rounds to 0, so there is no normal to push along.
        {"centre too close to measure", arcAt(1e-24f, 1e-24f, 10, 15, 2 | 8, -1, -1),
         Entity(100, -32, -32, 64, 64, 0.6f, 0.8f)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Entity entity = test.entity;
        EXPECT_FALSE(touch(entity, test.arc));
        expectUntouched(entity, test.entity);
    }
}

} // namespace
