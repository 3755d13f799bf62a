#pragma once

#include "level/CharSource.h"
#include "level/LevelReader.h"

#include <string>

class Game;

// Reads "Level.txt" from the working directory and adds its records to the world, echoing
// each one on the log. A missing file is reported and the world keeps its built-in scene; so
// is anything but a regular file (a named pipe, a device, a directory), with a line on
// standard error that says what the path is.
// A picture that cannot be loaded ends the program as any picture does (ImageLoadError).
void loadLevel(Game& world);

// Walks a level text word by word and applies every record that follows a header.
void readLevel(Game& world, CharSource& text);

// Reads the one record that follows `header` (a header word) and applies it: its echo on the
// log and what it adds to the world. Any other word reads nothing.
void readSection(Game& world, const std::string& header, LevelReader& reader);
