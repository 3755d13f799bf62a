#include "tools/replay/WorldMap.h"

#include "gfx/CollisionOverlay.h"
#include "gfx/WorldSnapshot.h"
#include "tools/replay/PngFile.h"
#include "world/Game.h"

#include <GL/gl.h>

#include <algorithm>

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

std::string writeWindowFrame(Game& world, const std::string& path)
{
    Renderer& renderer = world.renderer;
    WorldPicture picture;
    picture.width = static_cast<int>(renderer.screenSize.x);
    picture.height = static_cast<int>(renderer.screenSize.y);
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    picture.rgb.resize(rowBytes * static_cast<size_t>(picture.height));
    renderer.drawScene();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
    // OpenGL reads the bottom row first.
    for (int row = 0; row < picture.height / 2; ++row) {
        const auto top = picture.rgb.begin() + static_cast<ptrdiff_t>(row * rowBytes);
        const auto bottom =
            picture.rgb.begin() + static_cast<ptrdiff_t>((picture.height - 1 - row) * rowBytes);
        std::swap_ranges(top, top + static_cast<ptrdiff_t>(rowBytes), bottom);
    }
    const std::string written = writePng(path, picture);
    return written.empty() ? "" : "cannot write " + path + ": " + written;
}
