#pragma once

#include "physics/BoxGrid.h"
#include "physics/CollisionShapes.h"
#include "physics/ShapeList.h"

#include <cstdint>
#include <vector>

class Entity;

// Where a shape can act on an entity: a line only on an entity whose box centre lies within
// its radius of the segment; an arc only on one whose box centre lies within its radius of
// the rim, or whose top-left corner lies in the attraction ring. The boxes are padded well
// beyond what float rounding can move a contact test. A shape whose box cannot be trusted
// (coordinates that are not numbers or not finite, a zero-length line with no normal) gets a
// box that stands for "anywhere".
Box lineReach(const CollisionVector& line);
Box arcReach(const CollisionArc& arc);

// The region of an entity that the contact tests look at: its box centre with its radius
// around it, and its top-left corner, padded the same way.
Box entityReach(const Entity& entity);

// An index of the level's lines and arcs by where they can act, so that an entity is tried
// only against the shapes near it.
class ShapeIndex {
public:
    // Cells of the grids; an infinite height makes them buckets along x.
    explicit ShapeIndex(double cellWidth = 128.0, double cellHeight = 128.0);

    // Brings the index up to the lists as they are now: appended shapes are added, a list
    // changed in any other way is indexed afresh.
    void update(const ShapeList<CollisionVector>& lines, const ShapeList<CollisionArc>& arcs);

    // Into `found`, in list order: every line (arc) from number `from` on that can act on
    // the entity where it stands now.
    void linesNear(const Entity& entity, uint32_t from, std::vector<uint32_t>& found);
    void arcsNear(const Entity& entity, uint32_t from, std::vector<uint32_t>& found);

private:
    template <typename Shape>
    void follow(const ShapeList<Shape>& shapes, BoxGrid& grid, uint64_t& seenRevision,
                Box (*reach)(const Shape&));

    BoxGrid lineGrid;
    BoxGrid arcGrid;
    uint64_t lineRevision = 0;
    uint64_t arcRevision = 0;
};
