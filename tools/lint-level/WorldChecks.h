#pragma once

#include "tools/lint-level/Diagnostics.h"
#include "tools/lint-level/LevelWalk.h"

#include <string>
#include <vector>

// Where the game would run.
struct GameFolder {
    std::string path;  // the folder to read pictures from; "" for the current one
    std::string shown; // the same as the user named it, for messages; "" for none
};

// Checks what the level builds against the world the game builds around it: the pictures
// (loaded as the game loads them, without a window), the background, the world's size, lines
// given twice, and pictures that start stuck in a solid line.
void checkWorld(const LevelContents& contents, const GameFolder& folder,
                const std::string& shownFile, std::vector<Diagnostic>& diagnostics);
