#pragma once

#include <string>

// Everything the level editor shows of a level folder (its Level.txt and pictures), as one
// JSON object: every record with its bytes, keys and values as the game's reader reads them,
// the world the game builds from it, what the map draws over that world, the lint's findings
// and quillfen-lint's output. See README.md beside this file for its fields.
std::string describeLevel(const std::string& folder);
