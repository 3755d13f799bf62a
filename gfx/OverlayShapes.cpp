#include "gfx/OverlayShapes.h"

#include "world/Game.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kNormalLength = 12.0f;
constexpr int kSegmentsPerQuarter = 24;

constexpr OverlayColour kBothSides{1.0f, 0.9f, 0.1f};
constexpr OverlayColour kBackSideOnly{0.2f, 1.0f, 0.2f};
constexpr OverlayColour kNormalSideOnly{0.1f, 0.9f, 1.0f};
constexpr OverlayColour kOutsideOnly{1.0f, 0.55f, 0.1f};
constexpr OverlayColour kInsideOnly{0.45f, 0.65f, 1.0f};
constexpr OverlayColour kNotSolid{0.6f, 0.6f, 0.6f};
constexpr OverlayColour kRing{1.0f, 0.2f, 1.0f};

OverlayColour lineColour(uint8_t type)
{
    switch (type & 3) {
    case 3: return kBothSides;
    case 1: return kBackSideOnly;
    case 2: return kNormalSideOnly;
    default: return kNotSolid;
    }
}

OverlayColour arcColour(uint8_t flag)
{
    switch (flag & (kArcSolidOutside | kArcSolidInside)) {
    case kArcSolidOutside | kArcSolidInside: return kBothSides;
    case kArcSolidOutside: return kOutsideOnly;
    case kArcSolidInside: return kInsideOnly;
    default: return kNotSolid;
    }
}

OverlayColour entityColour(size_t list)
{
    switch (list) {
    case kAvatarList: return OverlayColour{1.0f, 1.0f, 1.0f};
    case kEnemyList: return OverlayColour{1.0f, 0.15f, 0.15f};
    case kLevelPictureList: return OverlayColour{0.7f, 0.45f, 1.0f};
    default: return kNotSolid;
    }
}

OverlayShape shapeOf(OverlayShapeKind kind, OverlayColour colour, OverlaySource source,
                     size_t index)
{
    OverlayShape shape;
    shape.kind = kind;
    shape.colour = colour;
    shape.source = source;
    shape.index = index;
    return shape;
}

void listLine(const CollisionVector& line, size_t index, std::vector<OverlayShape>& shapes)
{
    OverlayShape segment =
        shapeOf(OverlayShapeKind::Segment, lineColour(line.type), OverlaySource::Line, index);
    segment.points = {line.x, line.y, line.x + line.dx, line.y + line.dy};
    shapes.push_back(segment);
    if (std::isfinite(line.nx) && std::isfinite(line.ny)) {
        const float middleX = line.x + line.dx * 0.5f;
        const float middleY = line.y + line.dy * 0.5f;
        segment.points = {middleX, middleY, middleX + line.nx * kNormalLength,
                          middleY + line.ny * kNormalLength};
        shapes.push_back(segment);
    }
}

void listArc(const CollisionArc& arc, size_t index, std::vector<OverlayShape>& shapes)
{
    // Quarter bits in the order of their angles: lower right, lower left, upper left, upper right.
    const uint8_t quarters[4] = {kQuarterLowerRight, kQuarterLowerLeft, kQuarterUpperLeft,
                                 kQuarterUpperRight};
    for (int quarter = 0; quarter < 4; ++quarter) {
        if ((arc.quadrant & quarters[quarter]) != 0) {
            OverlayShape polyline =
                shapeOf(OverlayShapeKind::Polyline, arcColour(arc.flag), OverlaySource::Arc, index);
            const float from = static_cast<float>(quarter) * kPi * 0.5f;
            polyline.points = circlePoints(arc.x, arc.y, arc.radius, from, from + kPi * 0.5f,
                                           kSegmentsPerQuarter);
            shapes.push_back(polyline);
        }
    }
    if ((arc.flag & kArcAttractionRing) != 0 && arc.distance > 0.0f) {
        OverlayShape ring = shapeOf(OverlayShapeKind::Circle, kRing, OverlaySource::Arc, index);
        ring.x = arc.x;
        ring.y = arc.y;
        ring.radius = arc.radius + arc.distance;
        ring.dashed = true;
        shapes.push_back(ring);
    }
}

void listEntity(const Entity& entity, size_t list, size_t index, std::vector<OverlayShape>& shapes)
{
    OverlayShape circle =
        shapeOf(OverlayShapeKind::Circle, entityColour(list), OverlaySource::Entity, index);
    circle.list = list;
    const Vec2 centre = entity.boxCentre();
    circle.x = centre.x;
    circle.y = centre.y;
    circle.radius = entity.radius;
    shapes.push_back(circle);
    OverlayShape dot = circle;
    dot.kind = OverlayShapeKind::Dot;
    dot.x = entity.x;
    dot.y = entity.y;
    dot.radius = 0.0f;
    shapes.push_back(dot);
}

} // namespace

std::vector<float> circlePoints(float x, float y, float radius, float from, float to, int segments)
{
    std::vector<float> points;
    points.reserve(static_cast<size_t>(segments + 1) * 2);
    for (int index = 0; index <= segments; ++index) {
        const float angle =
            from + (to - from) * static_cast<float>(index) / static_cast<float>(segments);
        points.push_back(x + radius * std::cos(angle));
        points.push_back(y + radius * std::sin(angle));
    }
    return points;
}

std::vector<OverlayShape> listCollisionOverlay(const Game& world)
{
    std::vector<OverlayShape> shapes;
    for (size_t index = 0; index < world.lines.size(); ++index) {
        listLine(world.lines[index], index, shapes);
    }
    for (size_t index = 0; index < world.arcs.size(); ++index) {
        listArc(world.arcs[index], index, shapes);
    }
    for (size_t list = 0; list < world.entityLists.size(); ++list) {
        for (size_t index = 0; index < world.entityLists[list].size(); ++index) {
            listEntity(*world.entityLists[list][index], list, index, shapes);
        }
    }
    return shapes;
}
