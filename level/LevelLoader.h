#pragma once

#include "level/CharSource.h"
#include "level/LevelReader.h"

#include <string>

class Game;

// Where a picture placed by the level starts: a box of this size with its corner here, moving
// at this speed in a random direction.
constexpr float kPlacedPictureX = 100.0f;
constexpr float kPlacedPictureY = 150.0f;
constexpr float kPlacedPictureSize = 64.0f;
constexpr float kPlacedPictureSpeed = 200.0f;

// Reads "Level.txt" from the working directory and adds its records to the world, echoing
// each one on the log. A missing file is reported and the world keeps its built-in scene; so
// is anything but a regular file (a named pipe, a device, a directory), with a line on
// standard error that says what the path is.
// A picture that cannot be loaded ends the program as any picture does (ImageLoadError).
void loadLevel(Game& world);

// Walks a level text word by word and applies every record that follows a header. The
// observer, if any, is told what the reader does (see LevelReader).
void readLevel(Game& world, CharSource& text, const LevelObserver* observer = nullptr);

// Reads the one record that follows `header` (a header word) and applies it: its echo on the
// log and what it adds to the world. Any other word reads nothing.
void readSection(Game& world, const std::string& header, LevelReader& reader);

// Applies a record read after its header: its echo on the log and what it adds to the world.
void applyRecord(Game& world, const LevelRecord& record);
