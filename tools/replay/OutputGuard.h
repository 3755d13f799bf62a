#pragma once

#include "tools/replay/ReplayOptions.h"

#include <string>
#include <vector>

// The files a replay reads: the input script, and in the game's folder Level.txt, the bitmaps
// of the built-in scene and every picture that Level.txt names. Paths as seen from where the
// tool was started.
std::vector<std::string> replayInputs(const ReplayOptions& options);

// Why the outputs (--trace, --map, --frame) cannot be written, as the message that refuses the
// run before anything runs; "" when they can. An output must be a regular file (or one still
// to be made) or /dev/null: a named pipe would block, a device would take the output. No two
// outputs may name one file, nor may an output be one of the inputs (compared by device and
// inode, so that links and other names of a file count too).
std::string outputProblem(const ReplayOptions& options);
