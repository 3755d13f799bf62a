#pragma once

#include <string>

class Game;

// Draws the whole world of a game built in window mode with the game's own renderer, puts the
// collision geometry over it and writes it as a PNG file. Returns "" or what went wrong.
std::string writeWorldMap(Game& world, const std::string& path);
