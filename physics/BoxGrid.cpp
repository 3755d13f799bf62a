#include "physics/BoxGrid.h"

#include <algorithm>
#include <cmath>

namespace {

// The grid never has more cells than this; a wider spread of boxes gets larger cells.
constexpr double kMaxCells = 262144.0;

// A box over more cells than this is tried by every query instead.
constexpr int64_t kMaxCellsPerBox = 256;

// The cell of coordinate v counted from `origin`, kept within -1 .. count (outside the grid).
int64_t cellOf(double v, double origin, double size, int64_t count)
{
    const double cell = std::floor((v - origin) / size);
    if (!(cell >= 0.0)) {
        return cell < 0.0 ? -1 : 0;
    }
    return cell >= static_cast<double>(count) ? count : static_cast<int64_t>(cell);
}

// Cells needed to cover `extent` with cells of `size` (one at least).
double cellsFor(double extent, double size) { return std::floor(extent / size) + 1.0; }

} // namespace

bool isFinite(const Box& box)
{
    return std::isfinite(box.loX) && std::isfinite(box.loY) && std::isfinite(box.hiX) &&
           std::isfinite(box.hiY);
}

bool boxesMeet(const Box& a, const Box& b)
{
    return a.loX <= b.hiX && b.loX <= a.hiX && a.loY <= b.hiY && b.loY <= a.hiY;
}

BoxGrid::BoxGrid(double width, double height) : baseWidth(width), baseHeight(height) {}

void BoxGrid::clear()
{
    boxes.clear();
    stamps.clear();
    laidOut = false;
}

void BoxGrid::add(const Box& box)
{
    boxes.push_back(box);
    stamps.push_back(0);
    if (laidOut && !place(static_cast<uint32_t>(boxes.size() - 1))) {
        laidOut = false;
    }
}

// Lays the grid over the extent of the finite boxes and puts every box in its place.
void BoxGrid::layOut()
{
    Box extent{0.0, 0.0, 0.0, 0.0};
    bool first = true;
    for (const Box& box : boxes) {
        if (!isFinite(box)) {
            continue;
        }
        extent = first ? box
                       : Box{std::min(extent.loX, box.loX), std::min(extent.loY, box.loY),
                             std::max(extent.hiX, box.hiX), std::max(extent.hiY, box.hiY)};
        first = false;
    }
    cellWidth = baseWidth;
    cellHeight = baseHeight;
    while (cellsFor(extent.hiX - extent.loX, cellWidth) *
               cellsFor(extent.hiY - extent.loY, cellHeight) >
           kMaxCells) {
        cellWidth = cellWidth * 2.0;
        cellHeight = cellHeight * 2.0;
    }
    originX = extent.loX;
    originY = extent.loY;
    cols = static_cast<int64_t>(cellsFor(extent.hiX - extent.loX, cellWidth));
    rows = static_cast<int64_t>(cellsFor(extent.hiY - extent.loY, cellHeight));
    cells.assign(static_cast<size_t>(cols * rows), {});
    alwaysTried.clear();
    laidOut = true;
    for (size_t number = 0; number < boxes.size(); ++number) {
        place(static_cast<uint32_t>(number));
    }
}

BoxGrid::CellRange BoxGrid::cellsOf(const Box& box) const
{
    CellRange range;
    range.col0 = cellOf(box.loX, originX, cellWidth, cols);
    range.col1 = cellOf(box.hiX, originX, cellWidth, cols);
    range.row0 = cellOf(box.loY, originY, cellHeight, rows);
    range.row1 = cellOf(box.hiY, originY, cellHeight, rows);
    return range;
}

// Puts the box in the cells it covers, or in the always-tried list; false when it lies
// outside the grid, which then has to be laid out again.
bool BoxGrid::place(uint32_t number)
{
    const Box& box = boxes[number];
    if (!isFinite(box)) {
        alwaysTried.push_back(number);
        return true;
    }
    const CellRange range = cellsOf(box);
    if (range.col0 < 0 || range.row0 < 0 || range.col1 >= cols || range.row1 >= rows) {
        return false;
    }
    if ((range.col1 - range.col0 + 1) * (range.row1 - range.row0 + 1) > kMaxCellsPerBox) {
        alwaysTried.push_back(number);
        return true;
    }
    for (int64_t row = range.row0; row <= range.row1; ++row) {
        for (int64_t col = range.col0; col <= range.col1; ++col) {
            cells[static_cast<size_t>(row * cols + col)].push_back(number);
        }
    }
    return true;
}

uint32_t BoxGrid::nextStamp()
{
    ++stamp;
    if (stamp == 0) {
        std::fill(stamps.begin(), stamps.end(), 0u);
        stamp = 1;
    }
    return stamp;
}

void BoxGrid::gather(const Box& query, uint32_t from, std::vector<uint32_t>& found)
{
    found.clear();
    if (!laidOut) {
        layOut();
    }
    const auto total = static_cast<uint32_t>(boxes.size());
    if (!isFinite(query)) {
        for (uint32_t number = from; number < total; ++number) {
            found.push_back(number);
        }
        return;
    }
    const uint32_t current = nextStamp();
    const CellRange range = cellsOf(query);
    for (int64_t row = std::max<int64_t>(range.row0, 0); row <= std::min(range.row1, rows - 1);
         ++row) {
        for (int64_t col = std::max<int64_t>(range.col0, 0); col <= std::min(range.col1, cols - 1);
             ++col) {
            for (const uint32_t number : cells[static_cast<size_t>(row * cols + col)]) {
                if (number >= from && stamps[number] != current &&
                    boxesMeet(boxes[number], query)) {
                    stamps[number] = current;
                    found.push_back(number);
                }
            }
        }
    }
    std::sort(found.begin(), found.end());
    const auto indexed = static_cast<std::ptrdiff_t>(found.size());
    found.insert(found.end(), std::lower_bound(alwaysTried.begin(), alwaysTried.end(), from),
                 alwaysTried.end());
    std::inplace_merge(found.begin(), found.begin() + indexed, found.end());
}
