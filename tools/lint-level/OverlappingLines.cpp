#include "tools/lint-level/OverlappingLines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

namespace {

// A multiple of the coordinates' size, far above the rounding of the overlap test and far
// below any difference that floats can make between two straight lines.
constexpr double kTolerance = 1e-9;

// A float as an odd integer times a power of two (0 for 0).
struct Dyadic {
    int64_t odd = 0;
    int exponent = 0;
};

Dyadic dyadicOf(float value)
{
    int exponent = 0;
    const double fraction = std::frexp(static_cast<double>(value), &exponent);
    auto mantissa = static_cast<int64_t>(std::ldexp(fraction, 30));
    exponent -= 30;
    while (mantissa != 0 && mantissa % 2 == 0) {
        mantissa /= 2;
        ++exponent;
    }
    return Dyadic{mantissa, exponent};
}

// The direction of a line up to its sign and length, exactly: lines have the same one when
// their extents' cross product is 0. (horizontal, vertical, or dy/dx as a reduced fraction of
// odd numbers times a power of two.)
using Direction = std::tuple<int, int64_t, int64_t, int>;

Direction directionOf(const CollisionVector& line)
{
    if (line.dy == 0.0f) {
        return {0, 0, 0, 0};
    }
    if (line.dx == 0.0f) {
        return {1, 0, 0, 0};
    }
    const Dyadic x = dyadicOf(line.dx);
    const Dyadic y = dyadicOf(line.dy);
    const int64_t divisor = std::gcd(x.odd, y.odd);
    const int sign = (x.odd < 0) == (y.odd < 0) ? 2 : 3;
    return {sign, std::abs(y.odd / divisor), std::abs(x.odd / divisor), y.exponent - x.exponent};
}

// A line placed on its straight line: which one (offset across it) and where along it.
struct Placed {
    Direction direction;
    double offset = 0.0;
    double from = 0.0;
    double to = 0.0;
    double slack = 0.0;
    int index = 0;
};

Placed place(const CollisionVector& line, int index)
{
    double ux = line.dx;
    double uy = line.dy;
    if (uy < 0.0 || (uy == 0.0 && ux < 0.0)) {
        ux = -ux;
        uy = -uy;
    }
    const double length = std::sqrt(ux * ux + uy * uy);
    ux /= length;
    uy /= length;
    const double endX = static_cast<double>(line.x) + line.dx;
    const double endY = static_cast<double>(line.y) + line.dy;
    const double along[2] = {line.x * ux + line.y * uy, endX * ux + endY * uy};
    const double size =
        std::max({std::abs(static_cast<double>(line.x)), std::abs(static_cast<double>(line.y)),
                  std::abs(endX), std::abs(endY)}) +
        1.0;
    return Placed{directionOf(line),
                  line.x * uy - line.y * ux,
                  std::min(along[0], along[1]),
                  std::max(along[0], along[1]),
                  size * kTolerance,
                  index};
}

bool usable(const CollisionVector& line)
{
    // A line with a coordinate that is no finite number, or without length, overlaps nothing.
    const bool finite = std::isfinite(line.x) && std::isfinite(line.y) && std::isfinite(line.dx) &&
                        std::isfinite(line.dy);
    return finite && (line.dx != 0.0f || line.dy != 0.0f);
}

// Lines of one straight line, by where they begin along it: each is compared with those that
// reach it, earliest first.
void sweep(const std::vector<CollisionVector>& lines, std::vector<Placed>& group,
           std::vector<int>& first)
{
    std::sort(group.begin(), group.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.from, a.index) < std::tie(b.from, b.index);
    });
    std::set<std::pair<int, double>> reaching; // (index, where it ends)
    for (const Placed& line : group) {
        for (auto at = reaching.begin(); at != reaching.end();) {
            if (at->second < line.from - line.slack) {
                at = reaching.erase(at);
                continue;
            }
            const int other = at->first;
            const int earlier = std::min(other, line.index);
            const int later = std::max(other, line.index);
            const bool improves = first[static_cast<std::size_t>(later)] < 0 ||
                                  earlier < first[static_cast<std::size_t>(later)];
            if (improves && overlapOnOneLine(lines[static_cast<std::size_t>(earlier)],
                                             lines[static_cast<std::size_t>(later)])) {
                first[static_cast<std::size_t>(later)] = earlier;
            }
            ++at;
        }
        reaching.emplace(line.index, line.to + line.slack);
    }
}

} // namespace

bool overlapOnOneLine(const CollisionVector& a, const CollisionVector& b)
{
    const double ax = a.dx;
    const double ay = a.dy;
    const double lengthSquared = ax * ax + ay * ay;
    if (lengthSquared == 0.0 || (b.dx == 0.0f && b.dy == 0.0f)) {
        return false;
    }
    const double fromX = static_cast<double>(b.x) - a.x;
    const double fromY = static_cast<double>(b.y) - a.y;
    if (ax * b.dy - ay * b.dx != 0.0 || ax * fromY - ay * fromX != 0.0) {
        return false;
    }
    const double first = (ax * fromX + ay * fromY) / lengthSquared;
    const double second = (ax * (fromX + b.dx) + ay * (fromY + b.dy)) / lengthSquared;
    const double low = std::max(0.0, std::min(first, second));
    const double high = std::min(1.0, std::max(first, second));
    return high > low;
}

std::vector<int> firstOverlapped(const std::vector<CollisionVector>& lines)
{
    // A line given again exactly overlaps what its first copy overlaps, and that copy: only
    // first copies are compared.
    using Geometry = std::tuple<float, float, float, float>;
    std::map<Geometry, int> firstCopies;
    std::vector<int> copyOf(lines.size(), -1);
    std::vector<Placed> placed;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const CollisionVector& line = lines[index];
        if (!usable(line)) {
            continue;
        }
        const auto known = firstCopies.emplace(Geometry{line.x, line.y, line.dx, line.dy},
                                               static_cast<int>(index));
        if (!known.second) {
            copyOf[index] = known.first->second;
            continue;
        }
        placed.push_back(place(line, static_cast<int>(index)));
    }
    std::sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.direction, a.offset) < std::tie(b.direction, b.offset);
    });
    std::vector<int> first(lines.size(), -1);
    // Runs of one direction whose offsets follow each other closely: one straight line each.
    std::size_t begin = 0;
    while (begin < placed.size()) {
        std::size_t end = begin + 1;
        while (end < placed.size() && placed[end].direction == placed[begin].direction &&
               placed[end].offset - placed[end - 1].offset <=
                   std::max(placed[end].slack, placed[end - 1].slack)) {
            ++end;
        }
        std::vector<Placed> group(placed.begin() + static_cast<std::ptrdiff_t>(begin),
                                  placed.begin() + static_cast<std::ptrdiff_t>(end));
        sweep(lines, group, first);
        begin = end;
    }
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int copied = copyOf[index];
        if (copied >= 0) {
            const int before = first[static_cast<std::size_t>(copied)];
            first[index] = before >= 0 ? before : copied;
        }
    }
    return first;
}
