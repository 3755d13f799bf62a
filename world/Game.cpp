#include "world/Game.h"

#include <cstdio>

namespace {

int readFromConsole() { return std::getchar(); }

} // namespace

Game::Game(RenderMode mode)
    : physics(this), renderer(this, 640.0f, 480.0f, 3000.0f, 680.0f, mode),
      readConsoleChar(readFromConsole)
{
    renderer.loadLevelPicture();
    placeBuiltinScene();
    renderer.screenSize = Vec2{640.0f, 480.0f};
    renderer.followBox = Vec2{300.0f, 380.0f};
    renderer.camera = Vec2{0.0f, 0.0f};
}

bool Game::addArc(const CollisionArc& arc)
{
    arcs.push_back(arc);
    return true;
}
