#pragma once

#include <cstddef>
#include <vector>

class Game;

// A colour of the collision overlay, each channel from 0 to 1.
struct OverlayColour {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

enum class OverlayShapeKind {
    Segment,  // points: x0, y0, x1, y1
    Polyline, // points: x0, y0, x1, y1, ... joined in order
    Circle,   // x, y, radius; dashed: every other of 64 pieces
    Dot,      // x, y
};

// What a shape of the overlay stands for.
enum class OverlaySource {
    Line,   // index: in the world's lines
    Arc,    // index: in the world's arcs
    Entity, // list: the entity list, index: in that list
};

// One coloured primitive of the overlay, in world coordinates.
struct OverlayShape {
    OverlayShapeKind kind = OverlayShapeKind::Segment;
    std::vector<float> points;
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.0f;
    OverlayColour colour;
    bool dashed = false;
    OverlaySource source = OverlaySource::Line;
    std::size_t list = 0;
    std::size_t index = 0;
};

// The collision geometry of the world as coloured primitives, in drawing order:
// - each line, coloured by its solid sides (yellow both, green only the side opposite the
//   normal, cyan only the normal's side, grey neither), with its normal as a tick from its middle;
// - the solid quarters of each arc (yellow from both sides, orange from outside only, light
//   blue from inside only, grey for quarters that are named but solid from no side);
// - the outer edge of each attraction ring, dashed magenta;
// - each entity's collision circle around its box centre, with a dot at its top-left corner
//   (white: the avatar, red: enemies, violet: pictures placed by the level, grey: the others).
// The map draws this list; the level editor shows the same one.
std::vector<OverlayShape> listCollisionOverlay(const Game& world);

// Points along the circle from angle `from` to `to` (radians, y downward), `segments` pieces.
std::vector<float> circlePoints(float x, float y, float radius, float from, float to, int segments);

// The pieces a full circle is drawn with, and how many of them a dashed ring has.
constexpr int kOverlayCircleSegments = 96;
constexpr int kOverlayDashPieces = 64;
