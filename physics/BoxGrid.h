#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// An axis-aligned box, bounds included. A box whose bounds are not all finite numbers stands
// for "anywhere".
struct Box {
    double loX = 0.0;
    double loY = 0.0;
    double hiX = 0.0;
    double hiY = 0.0;
};

bool isFinite(const Box& box);
bool boxesMeet(const Box& a, const Box& b);

// Numbered boxes bucketed into the cells of a uniform grid laid over their extent, to find the
// boxes that may meet a query box without looking at the others. Boxes that are not finite,
// or span too many cells, go to a list that every query returns. The grid is laid out again
// on the first query after a box was added outside it.
class BoxGrid {
public:
    // Cells of this size; an infinite height makes the grid one row of buckets along x.
    BoxGrid(double cellWidth, double cellHeight);

    void clear();

    // Adds the box numbered count().
    void add(const Box& box);

    size_t count() const { return boxes.size(); }

    // Into `found`, ascending: the number of every box from `from` on that meets `query`,
    // and of every box of the always-tried list. A query that is not finite finds them all.
    void gather(const Box& query, uint32_t from, std::vector<uint32_t>& found);

private:
    struct CellRange {
        int64_t col0 = 0;
        int64_t row0 = 0;
        int64_t col1 = -1;
        int64_t row1 = -1;
    };

    void layOut();
    CellRange cellsOf(const Box& box) const;
    bool place(uint32_t number);
    uint32_t nextStamp();

    double baseWidth = 0.0;
    double baseHeight = 0.0;
    double cellWidth = 0.0;
    double cellHeight = 0.0;
    double originX = 0.0;
    double originY = 0.0;
    int64_t cols = 0;
    int64_t rows = 0;
    bool laidOut = false;
    std::vector<Box> boxes;
    std::vector<std::vector<uint32_t>> cells;
    std::vector<uint32_t> alwaysTried;
    std::vector<uint32_t> stamps; // the query that last found each box
    uint32_t stamp = 0;
};
