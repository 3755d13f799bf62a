#pragma once

#include <cstdint>
#include <optional>
#include <string>

// quillfen-replay [--dir DIR] [--steps N] [--input FILE] [--trace FILE] [--map FILE.png]
//                 [--frame FILE.png] [--watch | --timedemo]
struct ReplayOptions {
    std::string dir;              // the game's working directory; empty: the current one
    std::optional<int64_t> steps; // at most this many steps; empty: until the game ends
    std::string input;            // the input script; empty: no input
    std::string trace;            // where the trace goes; empty: no trace
    std::string map;              // where the picture of the world goes; empty: no map
    std::string frame;            // where the window's last frame goes; empty: none
    bool watch = false;           // play it in the game's window at the game's pace
    bool timedemo = false;        // play it in the window as fast as it goes, and time it
    bool help = false;            // --help: print the usage and stop
};

constexpr int64_t kMostSteps = 2147483647;

extern const char* const kReplayUsage;

// Reads the command line. Returns the message of what is wrong with it, or "" when it is good.
std::string parseReplayOptions(int argc, const char* const* argv, ReplayOptions& options);
