#pragma once

#include "tools/level-editor/DescriptionTables.h"

#include <string>

// Everything the level editor shows of a level folder (its Level.txt and pictures), as one
// JSON object: every record with its bytes, keys and values as the game's reader reads them,
// the world the game builds from it, what the map draws over that world, the lint's findings
// and quillfen-lint's output. See README.md beside this file for its fields.
std::string describeLevel(const std::string& folder);

// The same description with its records, overlay, findings and lint report in `tables`
// (emptied first) and the rest as JSON, which then also holds the tables' "strings" and leaves out
// the scene's lines and arcs (the overlay draws them). The browser's level module hands the page
// this form.
std::string describeLevel(const std::string& folder, DescriptionTables& tables);
