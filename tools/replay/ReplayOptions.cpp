#include "tools/replay/ReplayOptions.h"

#include <cstring>

const char* const kReplayUsage =
    "usage: quillfen-replay [--dir DIR] [--steps N] [--input FILE] [--trace FILE] [--map "
    "FILE.png]\n"
    "                       [--frame FILE.png] [--watch | --timedemo]\n"
    "  --dir DIR       the game's working directory, with Level.txt and the bitmaps\n"
    "  --steps N       run at most N world steps (0: only build the world and load the level)\n"
    "  --input FILE    the input script: '<step> down|up <key>', '<step> click <button> <x> <y>',\n"
    "                  '<step> quit', one event per line\n"
    "  --trace FILE    write the trace of every step to FILE (not '-': the log is on stdout)\n"
    "  --map FILE.png  draw the whole world with its collision geometry after the last step\n"
    "  --frame FILE.png  write the game's window as the last step drew it\n"
    "  --watch         play it in the game's window at the game's pace (16 ms between steps)\n"
    "  --timedemo      play it in the game's window as fast as it goes; then the frame times\n"
    "                  on standard error\n"
    "A recorded session's checkpoints are compared as it runs: a difference stops it with\n"
    "'desync at step N' and exit status 3.\n";

namespace {

std::string readSteps(const std::string& text, ReplayOptions& options)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return "--steps needs a whole number of steps (0 or more), not '" + text + "'";
    }
    int64_t steps = 0;
    for (const char digit : text) {
        steps = steps * 10 + (digit - '0');
        if (steps > kMostSteps) {
            return "--steps " + text + " is too large (at most " + std::to_string(kMostSteps) + ")";
        }
    }
    options.steps = steps;
    return "";
}

} // namespace

std::string parseReplayOptions(int argc, const char* const* argv, ReplayOptions& options)
{
    for (int index = 1; index < argc; ++index) {
        const std::string option = argv[index];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--watch" || option == "--timedemo") {
            (option == "--watch" ? options.watch : options.timedemo) = true;
            continue;
        }
        std::string* target = nullptr;
        if (option == "--dir") {
            target = &options.dir;
        } else if (option == "--input") {
            target = &options.input;
        } else if (option == "--trace") {
            target = &options.trace;
        } else if (option == "--map") {
            target = &options.map;
        } else if (option == "--frame") {
            target = &options.frame;
        } else if (option != "--steps") {
            return "unknown option '" + option + "'";
        }
        if (index + 1 == argc || argv[index + 1][0] == '\0') {
            return option + " needs a value";
        }
        const std::string value = argv[++index];
        if (target == nullptr) {
            std::string problem = readSteps(value, options);
            if (!problem.empty()) {
                return problem;
            }
        } else {
            *target = value;
        }
    }
    if (options.watch && options.timedemo) {
        return "--watch and --timedemo do not go together: watch plays at the game's pace";
    }
    if (options.trace == "-") {
        return "--trace - is not allowed: standard output holds the game's log";
    }
    return "";
}
