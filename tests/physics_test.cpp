// Where an entity ends after a contact with a line, an arc or another entity, or a whole step.

#include "physics/ArcCollision.h"
#include "physics/LineCollision.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace std::string_literals;

namespace {

TEST(Physics, RootsRadiiAndDirectionsAreTheGamesOwnAndNeverANaN)
{
    const float roots[] = {fastSqrt(1), fastSqrt(90000), fastSqrt(43600),
                           fastSqrt(0)}; // slightly low
    const uint32_t bits[] = {0x3f7fffb8u, 0x4395fff7u, 0x4350ce23u,
                             0u}; // 0.9999957, 299.99973, 208.805222, 0
    EXPECT_EQ(std::memcmp(roots, bits, sizeof roots), 0);
    EXPECT_EQ(std::make_pair(Entity(0, 0, 0, 100, 50, 1, 0).radius,
                             Entity(0, 0, 0, 50, 100, 1, 0).radius),
              std::make_pair(45.0f, 30.0f));
    // A negative speed turns the direction round; no NaN, infinity or zero vector is taken.
    Entity entity(0, 0, 0, 64, 64, 3, 4);
    entity.setSpeed(-120.0f);
    entity.setDirection(Vec2{0.0f, 0.0f});
    entity.setSpeed(std::nanf(""));
    entity.setSpeed(-INFINITY);
    EXPECT_TRUE(near(entity.velocity(), {-72.0f, -96.0f}, 1e-3f));
    EXPECT_EQ(Entity(5, 0, 0, 64, 64, 0, 0).direction(), (Vec2{0.0f, 0.0f}));
}

// Lines 280 long (an exact fastSqrt). Normals: the floor's points down (standing on it is its
// back, the platform's solid side), the reversed floor's up, the wall's left.
const CollisionVector kFloor(0, 200, 280, 0, 3, 0);
const CollisionVector kReversed(280, 200, -280, 0, 2, 0);
const CollisionVector kWall(200, 0, 0, 280, 3, 0);
const CollisionVector kPlatform(0, 200, 280, 0, 1, 0);
const CollisionVector kPoint(140, 200, 0, 0, 3, 0);

TEST(Physics, ALinePushesOutToOneRadiusAndCarriesOnlyWhileGravityPressesIn)
{
    const float hair = std::nextafter(136.0f, 0.0f);
    const struct {
        const char* what;
        const CollisionVector& line;
        float x, y, dirX, dirY, endX, endY, vx, vy; // a 64 by 64 entity at speed 100
        bool carried;
    } cases[] = {
        {"behind", kFloor, 108, 136, 0.6f, 0.8f, 108, 136, 60, 0, true},
        {"in front", kReversed, 108, 136, 0.6f, 0.8f, 108, 136, 60, 0, true},
        {"centre on it: back first", kFloor, 108, 168, 0, 1, 108, 136, 0, 0, true},
        {"over the start", kFloor, -32, 158, 0, 1, -32, 136, 0, 0, true},
        {"over the end", kFloor, 248, 158, 0, 1, 248, 136, 0, 0, true},
        // The side point (corner + half a radius) is before the line, the box centre 8 past.
        {"side point above", kFloor, 108, 176, 0, 1, 108, 200, 0, 0, true},
        {"side point left", kWall, 176, 108, 0.6f, 0.8f, 200, 108, 0, 80, true},
        {"up a wall", kWall, 158, 108, 0.6f, -0.8f, 136, 108, 0, -80, true},
        {"a ceiling: pushed only", kFloor, 108, 188, 0.6f, -0.8f, 108, 200, 60, -80, false},
        {"a hair beyond behind", kFloor, 108, hair, 0.6f, 0.8f, 108, hair, 60, 80, false},
        {"a hair beyond in front", kReversed, 108, hair, 0.6f, 0.8f, 108, hair, 60, 80, false},
        {"just before the start", kFloor, -32.5f, 158, 0, 1, -32.5f, 158, 0, 100, false},
        {"just past the end", kFloor, 248.5f, 158, 0, 1, 248.5f, 158, 0, 100, false},
        {"heading away", kFloor, 108, 158, 0, -1, 108, 158, 0, -100, false},
        {"onto a platform", kPlatform, 108, 158, 0, 1, 108, 136, 0, 0, true},
        {"up through a platform", kPlatform, 108, 178, 0, -1, 108, 178, 0, -100, false},
        {"no length", kPoint, 108, 168, 0.6f, 0.8f, 108, 168, 60, 80, false},
    };
    for (const auto& test : cases) {
        Entity entity(100, test.x, test.y, 64, 64, test.dirX, test.dirY);
        bool supported = false;
        collideWithLine(entity, test.line, Vec2{0.0f, 10.0f}, supported);
        EXPECT_EQ(std::tie(entity.x, entity.y, supported, entity.inContact),
                  std::tie(test.endX, test.endY, test.carried, test.carried))
            << test.what;
        EXPECT_TRUE(near(entity.velocity(), {test.vx, test.vy}, 1e-3f)) << test.what;
    }
}

// The scene's loop (lower-left quarter open; solid, holding both sides from 60); a lower-right
// quarter (a box centre at (484, 322) is exactly 140 away); a circle with a ring.
const CollisionArc kLoop{400, 210, 200, 13, 15, 60, -1};
CollisionArc rim(float radius, uint8_t flag) { return {400, 210, radius, 1, flag, -1, -1}; }
CollisionArc ring(uint8_t flag, float distance) { return {400, 160, 50, 15, flag, -1, distance}; }

TEST(Physics, AnArcPutsTheBoxCentreOneRadiusFromItsRimAlongTheTangentOrLeavesItAlone)
{
    const float untouched = -1.0f;
    const float deeper = std::nextafter(172.0f, 200.0f);
    const struct {
        const char* what;
        CollisionArc arc;
        float cx, cy, speed; // a 64 by 64 box centred there, heading (0.6, 0.8)
        float distance;      // of the box centre from the arc's centre afterwards
        bool held;
    } cases[] = {
        {"inside, under the minimum", kLoop, 508, 354, 59, 168, false},
        {"inside, at the minimum", kLoop, 508, 354, 60, 168, true},
        {"outside", kLoop, 527.2f, 379.6f, 100, 232, true},
        // On the rim (k = 0) the contact is an inside one whenever the inside is solid.
        {"rim, solid inside", rim(140, 1 | 2 | 8), 484, 322, 100, 108, true},
        {"rim, holding outside only", rim(140, 1 | 2 | 4), 484, 322, 100, 108, false},
        {"rim, solid outside only", rim(140, 1 | 4), 484, 322, 100, 172, true},
        {"one radius inside", rim(172, 2 | 8), 484, 322, 100, 140, true},
        {"one radius outside", rim(108, 1 | 4), 484, 322, 100, 140, true},
        {"a hair deeper", rim(deeper, 2 | 8), 484, 322, 100, untouched, false},
        {"a hair further", rim(std::nextafter(108.0f, 0.0f), 1 | 4), 484, 322, 100, untouched,
         false},
        // The corner starts in the ring; the push takes it out before the ring is measured.
        {"pushed out of its ring", ring(16 | 1, 60), 364, 112, 100, 82, false},
        {"open quarter", kLoop, 292, 354, 100, untouched, false},
        {"straight below", {400, 210, 200, 15, 15, -1, -1}, 400, 390, 100, untouched, false},
        {"ring of width 0", ring(16 | 4 | 1, 0), 432, 242.5f, 100, untouched, false},
        // No normal to push along; a ring that cannot pull (only a negative radius does it).
        {"too close to measure", {1e-24f, 1e-24f, 10, 15, 10, -1, -1}, 0, 0, 100, untouched, false},
        {"ring on the corner", {100, 100, -10, 15, 16, -1, 50}, 132, 132, 100, untouched, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        Entity entity(test.speed, test.cx - 32, test.cy - 32, 64, 64, 0.6f, 0.8f);
        bool held = false;
        collideWithArc(entity, test.arc, held);
        EXPECT_TRUE(held == test.held && entity.speed == test.speed);
        const Vec2 rel = entity.boxCentre() - Vec2{test.arc.x, test.arc.y};
        if (test.distance == untouched) {
            EXPECT_TRUE(entity.boxCentre() == (Vec2{test.cx, test.cy}) && !entity.inContact);
            EXPECT_TRUE(near(entity.direction(), {0.6f, 0.8f}));
        } else {
            EXPECT_TRUE(entity.inContact);
            EXPECT_NEAR(std::hypot(rel.x, rel.y), test.distance, 1e-3f);
            EXPECT_NEAR(dot(entity.direction(), rel), 0.0f, 1e-3f);
        }
    }
    // Of the two tangents the turn takes the one on the way the entity was heading.
    for (const float way : {-1.0f, 1.0f}) {
        Entity entity(200, 440, 82, 64, 64, way, 0);
        bool held = false;
        collideWithArc(entity, CollisionArc{400, 210, 100, 15, 1, 1000, -1}, held);
        EXPECT_TRUE(near(entity.direction(), {0.8f * way, 0.6f * way}));
    }
    // A ring pulls 20 half way across, measured from the corner (80 away), not the centre (116).
    Entity pulled(0, 400, 240, 64, 64, 1, 0);
    bool held = false;
    collideWithArc(pulled, ring(16, 60), held);
    EXPECT_TRUE(held && !pulled.inContact && pulled.y == 240.0f);
    EXPECT_TRUE(near(pulled.velocity(), {0.0f, -20.0f}, 1e-3f));
}

TEST(Physics, EntitiesMeetWithinTheSumOfTheRadiiUnlessADirectionComponentMatches)
{
    const auto game = makeHeadlessGame();
    LogCapture log;
    const float hair = std::nextafter(280.0f, 300.0f);
    const struct {
        const char* what;
        float size, bx; // two entities `size` square, a at the origin and b at (bx, 0)
        Vec2 aDir, bDir;
        const char* magnitude; // logged, or null for no collision
    } cases[] = {
        {"exactly the sum apart", 280, 280, {0.6f, 0.8f}, {1, 0}, "280"},
        {"a hair beyond the sum", 280, hair, {0.6f, 0.8f}, {1, 0}, nullptr},
        {"64 apart: fastSqrt gives 63.9997", 64, 64, {0.6f, 0.8f}, {1, 0}, "63.9997"},
        {"head on, both horizontal", 64, 10, {1, 0}, {-1, 0}, nullptr},
        {"mirrored", 64, 10, {0.6f, 0.8f}, {-0.6f, 0.8f}, nullptr},
        {"x components alike only", 64, 10, {0.6f, 0.8f}, {-0.6f, 0.5f}, nullptr},
        {"y components alike only", 64, 10, {0.6f, 0.8f}, {0.3f, -0.8f}, nullptr},
        {"no component alike", 64, 10, {0.6f, 0.8f}, {0.3f, -0.5f}, "9.99996"},
        {"one without a direction", 64, 10, {0, 0}, {0.6f, 0.8f}, "9.99996"},
        {"on the same spot", 64, 0, {0.6f, 0.8f}, {1, 0}, "0"},
    };
    for (const auto& test : cases) {
        EntityList a;
        EntityList b;
        a.push_back(std::make_unique<Entity>(0, 0, 0, test.size, test.size, 1, 0));
        b.push_back(std::make_unique<Entity>(0, test.bx, 0, test.size, test.size, 1, 0));
        std::tie(a[0]->dirX, a[0]->dirY, b[0]->dirX, b[0]->dirY) = // as given, unit or not
            std::tie(test.aDir.x, test.aDir.y, test.bDir.x, test.bDir.y);
        log.clear();
        game->physics.collideEntities(a, b);
        const std::string logged = test.magnitude == nullptr ? "" : test.magnitude + "\n"s;
        EXPECT_EQ(log.text().substr(log.text().rfind(' ') + 1), logged) << test.what;
        // No NaN: a shared spot has no line to push along, a missing direction none to mirror.
        EXPECT_FALSE(std::isnan(a[0]->x + a[0]->dirX + a[0]->dirY + b[0]->dirX)) << test.what;
    }
    // Pushed apart to touch, directions mirrored; b's next entity meets a where it was pushed.
    EntityList a;
    EntityList b;
    a.push_back(std::make_unique<Entity>(0, 0, 0, 60, 60, 0.6f, 0.8f)); // radius 30
    b.push_back(std::make_unique<Entity>(0, -50, 0, 60, 60, 1, 0));
    b.push_back(std::make_unique<Entity>(0, -58, 10, 60, 60, 1, 0)); // 63.8 from (5, 0)
    log.clear();
    game->physics.collideEntities(a, b);
    EXPECT_EQ(log.text(), "Collision Occured\nMagnitude of Collision: 49.9998\n");
    EXPECT_TRUE(near(a[0]->position(), {5, 0}, 1e-3f) && near(a[0]->direction(), {-0.6f, 0.8f}));
    EXPECT_TRUE(near(b[0]->position(), {-55, 0}, 1e-3f) && near(b[0]->direction(), {-1, 0}));
}

// The built-in world emptied of enemies, lines and arcs, with a floor at y 200 from x 0 to 280.
class PhysicsStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearScene(*game);
        game->lines = {kFloor};
    }
    std::unique_ptr<Game> game = makeHeadlessGame();
    LogCapture log;
};

TEST_F(PhysicsStep, PairsBounceInTheirFixedOrderBeforeTheFloorPutsThemBack)
{
    const Entity& avatar = placeAvatar(*game, 108, 136, 0, 0.6f, 0.8f); // radius 32
    const Entity& enemy = addEntity(*game, kEnemyList, {108, 100}, 0, {1, 0});
    const Entity& picture = addEntity(*game, kLevelPictureList, {140, 110}, 0, {0.28f, 0.96f});
    // The third and fourth lists fly straight through everything: no contact, no gravity.
    const Entity& third = addEntity(*game, kThirdList, {100, 140}, 120, {3, 4});
    const Entity& fourth = addEntity(*game, kFourthList, {108, 136}, 120, {3, 4});
    game->physics.step();
    std::vector<std::tuple<int32_t, int32_t, int32_t, Game*>> events;
    for (const InputEvent& event : game->inputQueue) {
        events.emplace_back(event.kind, event.firstId, event.secondId, event.world);
    }
    const decltype(events) expected{{kEntityCollision, avatar.id, enemy.id, game.get()},
                                    {kEntityCollision, picture.id, avatar.id, game.get()},
                                    {kEntityCollision, picture.id, enemy.id, game.get()}};
    EXPECT_EQ(events, expected);
    // The pushes drove the avatar into the floor; the level pass, after them, stood it back.
    EXPECT_TRUE(avatar.inContact && std::abs(avatar.y - 136.0f) < 1e-3f);
    for (const Entity* flying : {&third, &fourth}) {
        EXPECT_TRUE(near(flying->velocity(), {72, 96}, 1e-3f) && !flying->inContact);
    }
    EXPECT_NEAR(third.y, 141.6f, 1e-3f);
}

TEST_F(PhysicsStep, ItsLastPassShootsEveryEnemyWithinTwiceItsRadiusOfTheSegmentWhereItMoved)
{
    const struct {
        const char* what;
        std::vector<Shot> shots;
        std::vector<Vec2> corners;
        std::vector<size_t> survivors; // indices into corners
        float drift = 0.0f;            // how far right the enemies move in the step
    } cases[] = {
        // Corners at the origin (t = 0, d = 0), past the clicked point (300, 100), behind it.
        {"origin only", {{100, 100, 200, 0}}, {{100, 100}, {301, 100}, {99, 100}}, {1, 2}},
        {"64 below, 64.5 below, the click", {{0, 0, 280, 0}}, {{9, 64}, {9, 64.5f}, {280, 0}}, {1}},
        {"one shot, two enemies", {{0, 0, 280, 0}}, {{500, 500}, {100, 10}, {200, -10}}, {0}},
        {"every shot", {{100, 100, 0, 0}, {700, 100, 70, 0}}, {{100, 100}, {700, 100}}, {0}},
        {"moved into reach and out", {{0, 0, 280, 0}}, {{-100, 0}, {250, 0}}, {1}, 100},
        {"stood up on the floor into reach", {{0, 72, 280, 0}}, {{100, 150}}, {}},
    };
    placeAvatar(*game, 1500, 300, 0, 1, 0);
    for (const auto& test : cases) {
        game->enemies().clear();
        game->chasers = {Chaser{game.get(), 99999}}; // its enemy is gone: skipped, kept
        std::vector<int32_t> expected{99999};
        for (size_t index = 0; index < test.corners.size(); ++index) {
            const Vec2 corner = test.corners[index];
            const int32_t id = addEntity(*game, kEnemyList, corner, test.drift * 60, {1, 0}).id;
            if (std::count(test.survivors.begin(), test.survivors.end(), index) != 0) {
                expected.push_back(id);
            }
        }
        game->player.currentWeapon().shots = test.shots;
        game->physics.step();
        std::vector<int32_t> enemies{99999};
        for (const auto& enemy : game->enemies()) {
            enemies.push_back(enemy->id);
        }
        std::vector<int32_t> chased;
        for (const Chaser& chaser : game->chasers) {
            chased.push_back(chaser.entityId);
        }
        EXPECT_TRUE(chased == expected && enemies == expected) << test.what;
        EXPECT_TRUE(game->player.currentWeapon().shots.empty());
    }
}

} // namespace
