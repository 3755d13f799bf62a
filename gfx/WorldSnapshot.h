#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Renderer;

// A picture of the whole world: 8-bit red, green, blue per pixel, the top row first.
struct WorldPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// The largest picture side drawn; a bigger world is drawn from its top-left corner up to it.
constexpr int kLargestWorldPicture = 16384;

// The side of the tiles the world is drawn in, unless OpenGL allows less.
constexpr int kSnapshotTileSide = 1024;

// Draws the whole world, one pixel per world unit, with the renderer's own frame drawing
// (drawScene: the frame without its buffer swap).
// The window may be smaller than the world, so the world is drawn into an offscreen
// framebuffer one camera-sized tile after the other (at most `tileSide` pixels wide and
// high), each read back and put in its place. `drawOver`, if set, runs after each tile's
// frame with the world projection in place, to draw on top of it. The renderer's camera, view size
// and viewport are put back afterwards. Needs the window's OpenGL context with framebuffer objects
// (OpenGL 3.0, or the ARB or EXT extension); returns "" or a message that says what went wrong.
std::string snapshotWorld(Renderer& renderer, const std::function<void()>& drawOver,
                          WorldPicture& picture, int tileSide = kSnapshotTileSide);
