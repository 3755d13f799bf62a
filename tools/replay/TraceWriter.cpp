#include "tools/replay/TraceWriter.h"

#include "world/Game.h"

#include <cmath>
#include <cstdio>

std::string traceFloat(float value)
{
    if (std::isnan(value)) {
        return "nan";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

void TraceWriter::writeStart(Game& world)
{
    writeStep(0, world);
    writeLevel(world);
}

void TraceWriter::writeStep(int64_t step, Game& world)
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
}

void TraceWriter::writeLevel(const Game& world)
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
