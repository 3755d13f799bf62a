#pragma once

#include "workspace/Workspace.h"

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

// Collects what the game writes on its log (standard output) while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return captured.str(); }
    void clear() { captured.str(""); }

private:
    std::ostringstream captured;
    std::streambuf* previous = nullptr;
};

// A world built headless in `directory` as in a fresh run, its console waits returning at once
// and its construction's log discarded. Later picture loads read the working directory.
std::unique_ptr<Game> makeHeadlessGame(const std::string& directory = assetsDir());

// Takes the enemies with their chasers, the lines and the arcs out of the world.
void clearScene(Game& game);

// Puts the avatar's box corner at (x, y) with that speed and direction, taken as they stand.
Entity& placeAvatar(Game& game, float x, float y, float speed, float dirX, float dirY);

// Appends a 64 by 64 entity to one of the world's lists; an enemy gets its chaser.
Entity& addEntity(Game& game, EntityListIndex list, Vec2 corner, float speed, Vec2 direction);

inline bool operator==(Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }
inline bool near(Vec2 a, Vec2 b, float tolerance = 1e-5f)
{
    return std::abs(a.x - b.x) < tolerance && std::abs(a.y - b.y) < tolerance;
}
