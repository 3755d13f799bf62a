#include "physics/ShapeIndex.h"

#include "entities/Entity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Room left around every reach for rounding: the contact tests are off by a few millionths of
// the coordinates involved at most, the padding is a thousandth of them and one unit more.
constexpr double kRelativePad = 1e-3;
constexpr double kAbsolutePad = 1.0;

Box anywhere()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return Box{nan, nan, nan, nan};
}

Box around(double loX, double loY, double hiX, double hiY, double pad)
{
    return Box{loX - pad, loY - pad, hiX + pad, hiY + pad};
}

} // namespace

// The contact zone of a line is the band of its radius on either side of the segment, which
// lies within the segment's bounds widened by the radius; the entity's reach adds the radius.
// That holds only for a unit normal at right angles to the segment and a length that
// fastSqrt gets right, so any other line is tried everywhere.
Box lineReach(const CollisionVector& line)
{
    const double x = line.x;
    const double y = line.y;
    const double dx = line.dx;
    const double dy = line.dy;
    const double exact = std::hypot(dx, dy);
    const double length = fastSqrt(lengthSquared(Vec2{line.dx, line.dy}));
    const double normal = std::hypot(static_cast<double>(line.nx), static_cast<double>(line.ny));
    const double across = line.nx * dx + line.ny * dy;
    const bool trusted = std::isfinite(x + y + dx + dy) && std::fabs(normal - 1.0) < 1e-3 &&
                         std::fabs(length - exact) <= 1e-3 * exact &&
                         std::fabs(across) <= 1e-3 * exact;
    if (!trusted) {
        return anywhere();
    }
    const double pad =
        kAbsolutePad + kRelativePad * (std::fabs(x) + std::fabs(y) + std::fabs(dx) + std::fabs(dy));
    return around(std::min(x, x + dx), std::min(y, y + dy), std::max(x, x + dx),
                  std::max(y, y + dy), pad);
}

// A rim contact needs the box centre within radius + the entity's radius of the centre, the
// ring the corner within radius + distance.
Box arcReach(const CollisionArc& arc)
{
    const double x = arc.x;
    const double y = arc.y;
    const double radius = arc.radius;
    const double distance = arc.distance;
    const bool ring = (arc.flag & kArcAttractionRing) != 0;
    if (!std::isfinite(x + y + radius) || (ring && !std::isfinite(distance))) {
        return anywhere();
    }
    double half = radius;
    if (ring && distance > 0.0) {
        half = std::max(half, radius + distance);
    }
    half = std::max(half, 0.0);
    const double pad = kAbsolutePad + kRelativePad * (std::fabs(x) + std::fabs(y) +
                                                      std::fabs(radius) + std::fabs(distance));
    return around(x - half, y - half, x + half, y + half, pad);
}

Box entityReach(const Entity& entity)
{
    const Vec2 centre = entity.boxCentre();
    const double mx = centre.x;
    const double my = centre.y;
    const double cx = entity.x;
    const double cy = entity.y;
    const double r = std::fabs(static_cast<double>(entity.radius));
    if (!std::isfinite(mx + my + cx + cy + r)) {
        return anywhere();
    }
    const double pad = kAbsolutePad + kRelativePad * (std::fabs(mx) + std::fabs(my) +
                                                      std::fabs(cx) + std::fabs(cy) + r);
    return around(std::min(mx - r, cx), std::min(my - r, cy), std::max(mx + r, cx),
                  std::max(my + r, cy), pad);
}

ShapeIndex::ShapeIndex(double cellWidth, double cellHeight)
    : lineGrid(cellWidth, cellHeight), arcGrid(cellWidth, cellHeight)
{
}

template <typename Shape>
void ShapeIndex::follow(const ShapeList<Shape>& shapes, BoxGrid& grid, uint64_t& seenRevision,
                        Box (*reach)(const Shape&))
{
    if (shapes.revision() != seenRevision || shapes.size() < grid.count()) {
        grid.clear();
        seenRevision = shapes.revision();
    }
    for (size_t number = grid.count(); number < shapes.size(); ++number) {
        grid.add(reach(shapes[number]));
    }
}

void ShapeIndex::update(const ShapeList<CollisionVector>& lines,
                        const ShapeList<CollisionArc>& arcs)
{
    follow(lines, lineGrid, lineRevision, lineReach);
    follow(arcs, arcGrid, arcRevision, arcReach);
}

void ShapeIndex::linesNear(const Entity& entity, uint32_t from, std::vector<uint32_t>& found)
{
    lineGrid.gather(entityReach(entity), from, found);
}

void ShapeIndex::arcsNear(const Entity& entity, uint32_t from, std::vector<uint32_t>& found)
{
    arcGrid.gather(entityReach(entity), from, found);
}
