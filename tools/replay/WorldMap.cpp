#include "tools/replay/WorldMap.h"

#include "gfx/CollisionOverlay.h"
#include "gfx/WorldSnapshot.h"
#include "tools/replay/PngFile.h"
#include "world/Game.h"

std::string writeWorldMap(Game& world, const std::string& path)
{
    WorldPicture picture;
    std::string problem = snapshotWorld(
        world.renderer, [&world] { drawCollisionOverlay(world); }, picture);
    if (!problem.empty()) {
        return problem;
    }
    const std::string written = writePng(path, picture);
    return written.empty() ? "" : "cannot write " + path + ": " + written;
}
