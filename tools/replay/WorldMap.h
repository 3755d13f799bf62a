#pragma once

#include <string>

class Game;

// Draws the whole world of a game built in window mode with the game's own renderer, puts the
// collision geometry over it and writes it as a PNG file. Returns "" or what went wrong.
std::string writeWorldMap(Game& world, const std::string& path);

// Draws the game's window as the last step left it (its 640x480 frame, drawn again by the
// renderer) and writes it as a PNG file. Returns "" or what went wrong.
std::string writeWindowFrame(Game& world, const std::string& path);
