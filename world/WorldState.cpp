#include "world/WorldState.h"

#include "world/Game.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

void writeLevelGeometry(std::ostream& out, const Game& world)
{
    for (const CollisionVector& line : world.lines) {
        out << "l " << traceFloat(line.x) << ' ' << traceFloat(line.y) << ' ' << traceFloat(line.dx)
            << ' ' << traceFloat(line.dy) << ' ' << traceFloat(line.nx) << ' '
            << traceFloat(line.ny) << ' ' << static_cast<unsigned>(line.type) << ' ' << line.id
            << '\n';
    }
    for (const CollisionArc& arc : world.arcs) {
        out << "a " << traceFloat(arc.x) << ' ' << traceFloat(arc.y) << ' '
            << traceFloat(arc.radius) << ' ' << static_cast<unsigned>(arc.quadrant) << ' '
            << static_cast<unsigned>(arc.flag) << ' ' << traceFloat(arc.minSpeed) << ' '
            << traceFloat(arc.distance) << '\n';
    }
}

} // namespace

std::string traceFloat(float value)
{
    if (std::isnan(value)) {
        return "nan";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

void writeStateBlock(std::ostream& out, int64_t step, Game& world)
{
    out << "step " << step << " hp " << world.player.hp << '\n';
    out << "c " << traceFloat(world.renderer.camera.x) << ' ' << traceFloat(world.renderer.camera.y)
        << '\n';
    for (size_t list = 0; list < world.entityLists.size(); ++list) {
        for (const std::unique_ptr<Entity>& entity : world.entityLists[list]) {
            out << "e " << list + 1 << ' ' << entity->id << ' ' << traceFloat(entity->x) << ' '
                << traceFloat(entity->y) << ' ' << traceFloat(entity->dirX) << ' '
                << traceFloat(entity->dirY) << ' ' << traceFloat(entity->speed) << ' '
                << (entity->inContact ? 1 : 0) << '\n';
        }
    }
    if (step == 0) {
        writeLevelGeometry(out, world);
    }
}

uint64_t fnv1a64(const std::string& bytes)
{
    uint64_t hash = 0xcbf29ce484222325u;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::string hashText(uint64_t hash)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

uint64_t worldStateHash(int64_t step, Game& world)
{
    std::ostringstream block;
    writeStateBlock(block, step, world);
    return fnv1a64(block.str());
}
