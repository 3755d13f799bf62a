#pragma once

#include <cstdint>

// A picture placed behind the entities, drawn as a box in world units.
struct Tile {
    int32_t id = 0;
    int32_t imageId = 0;
    float width = 0.0f;
    float height = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    const char* fileName = ""; // a string literal, not owned
};
