#pragma once

#include "tools/replay/ReplayOptions.h"

#include <string>
#include <vector>

// The files a replay reads: the input script, and in the game's folder Level.txt, the bitmaps
// of the built-in scene and every picture that Level.txt names. Paths as seen from where the
// tool was started.
std::vector<std::string> replayInputs(const ReplayOptions& options);

// The first output (--trace, --map) that is the same file as one of the inputs, compared by
// device and inode so that links and other names of that file count too, as the message that
// refuses the run; "" when there is none.
std::string outputClash(const ReplayOptions& options);
