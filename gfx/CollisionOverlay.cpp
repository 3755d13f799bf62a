#include "gfx/CollisionOverlay.h"

#include "world/Game.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kNormalLength = 12.0f;
constexpr int kSegmentsPerQuarter = 24;

struct Colour {
    float red, green, blue;
};

constexpr Colour kBothSides{1.0f, 0.9f, 0.1f};
constexpr Colour kBackSideOnly{0.2f, 1.0f, 0.2f};
constexpr Colour kNormalSideOnly{0.1f, 0.9f, 1.0f};
constexpr Colour kOutsideOnly{1.0f, 0.55f, 0.1f};
constexpr Colour kInsideOnly{0.45f, 0.65f, 1.0f};
constexpr Colour kNotSolid{0.6f, 0.6f, 0.6f};
constexpr Colour kRing{1.0f, 0.2f, 1.0f};

void setColour(Colour colour) { glColor4f(colour.red, colour.green, colour.blue, 1.0f); }

Colour lineColour(uint8_t type)
{
    switch (type & 3) {
    case 3: return kBothSides;
    case 1: return kBackSideOnly;
    case 2: return kNormalSideOnly;
    default: return kNotSolid;
    }
}

Colour arcColour(uint8_t flag)
{
    switch (flag & (kArcSolidOutside | kArcSolidInside)) {
    case kArcSolidOutside | kArcSolidInside: return kBothSides;
    case kArcSolidOutside: return kOutsideOnly;
    case kArcSolidInside: return kInsideOnly;
    default: return kNotSolid;
    }
}

Colour entityColour(size_t list)
{
    switch (list) {
    case kAvatarList: return Colour{1.0f, 1.0f, 1.0f};
    case kEnemyList: return Colour{1.0f, 0.15f, 0.15f};
    case kLevelPictureList: return Colour{0.7f, 0.45f, 1.0f};
    default: return kNotSolid;
    }
}

// A polyline along the circle from angle `from` to `to` (radians, y downward).
void drawCircleArc(float x, float y, float radius, float from, float to, int segments)
{
    glBegin(GL_LINE_STRIP);
    for (int index = 0; index <= segments; ++index) {
        const float angle =
            from + (to - from) * static_cast<float>(index) / static_cast<float>(segments);
        glVertex2f(x + radius * std::cos(angle), y + radius * std::sin(angle));
    }
    glEnd();
}

// Every other one of 64 pieces of the circle. (Line stipple would do, but its pattern
// restarts where a tile of the map clips the circle.)
void drawDashedCircle(float x, float y, float radius)
{
    constexpr int kPieces = 64;
    glBegin(GL_LINES);
    for (int piece = 0; piece < kPieces; piece += 2) {
        const float from = 2.0f * kPi * static_cast<float>(piece) / kPieces;
        const float to = 2.0f * kPi * static_cast<float>(piece + 1) / kPieces;
        glVertex2f(x + radius * std::cos(from), y + radius * std::sin(from));
        glVertex2f(x + radius * std::cos(to), y + radius * std::sin(to));
    }
    glEnd();
}

void drawLine(const CollisionVector& line)
{
    setColour(lineColour(line.type));
    glBegin(GL_LINES);
    glVertex2f(line.x, line.y);
    glVertex2f(line.x + line.dx, line.y + line.dy);
    if (std::isfinite(line.nx) && std::isfinite(line.ny)) {
        const float middleX = line.x + line.dx * 0.5f;
        const float middleY = line.y + line.dy * 0.5f;
        glVertex2f(middleX, middleY);
        glVertex2f(middleX + line.nx * kNormalLength, middleY + line.ny * kNormalLength);
    }
    glEnd();
}

void drawArc(const CollisionArc& arc)
{
    // Quarter bits in the order of their angles: lower right, lower left, upper left, upper right.
    const uint8_t quarters[4] = {kQuarterLowerRight, kQuarterLowerLeft, kQuarterUpperLeft,
                                 kQuarterUpperRight};
    setColour(arcColour(arc.flag));
    for (int index = 0; index < 4; ++index) {
        if ((arc.quadrant & quarters[index]) != 0) {
            const float from = static_cast<float>(index) * kPi * 0.5f;
            drawCircleArc(arc.x, arc.y, arc.radius, from, from + kPi * 0.5f, kSegmentsPerQuarter);
        }
    }
    if ((arc.flag & kArcAttractionRing) != 0 && arc.distance > 0.0f) {
        setColour(kRing);
        drawDashedCircle(arc.x, arc.y, arc.radius + arc.distance);
    }
}

void drawEntity(const Entity& entity, Colour colour)
{
    setColour(colour);
    const Vec2 centre = entity.boxCentre();
    drawCircleArc(centre.x, centre.y, entity.radius, 0.0f, 2.0f * kPi, 4 * kSegmentsPerQuarter);
    glBegin(GL_POINTS);
    glVertex2f(entity.x, entity.y);
    glEnd();
}

} // namespace

void drawCollisionOverlay(const Game& world)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glLineWidth(2.0f);
    glPointSize(5.0f);
    for (const CollisionVector& line : world.lines) {
        drawLine(line);
    }
    for (const CollisionArc& arc : world.arcs) {
        drawArc(arc);
    }
    for (size_t list = 0; list < world.entityLists.size(); ++list) {
        for (const std::unique_ptr<Entity>& entity : world.entityLists[list]) {
            drawEntity(*entity, entityColour(list));
        }
    }
    glPopAttrib();
}
