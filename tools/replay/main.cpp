// quillfen-replay: runs the game's own world, step after step and without the clock, from an
// input script; writes the game's log on standard output, a trace of every step and a map.

#include "app/GameWindow.h"
#include "app/StandardStreams.h"
#include "gfx/Image.h"
#include "level/LevelLoader.h"
#include "tools/replay/InputScript.h"
#include "tools/replay/OutputGuard.h"
#include "tools/replay/ReplayOptions.h"
#include "tools/replay/StepRunner.h"
#include "tools/replay/TraceWriter.h"
#include "tools/replay/WorldMap.h"
#include "world/Game.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;     // the replay could not be done (files, window, pictures)
constexpr int kBadRequest = 2; // bad options or a bad script: nothing was run

int fail(const std::string& message)
{
    std::cout << std::flush;
    std::cerr << "quillfen-replay: " << message << std::endl;
    return kFailed;
}

const char* describe(ReplayEnd end)
{
    switch (end) {
    case ReplayEnd::Death: return "the player died";
    case ReplayEnd::Win: return "the player won";
    case ReplayEnd::Quit: return "the script quit";
    case ReplayEnd::StepLimit: return "the steps asked for have run";
    }
    return "";
}

// Paths given on the command line are taken from where the tool was started, not from --dir.
std::string fromStart(const std::string& path)
{
    return path.empty() ? path : fs::absolute(path).string();
}

// Builds the world in the game's folder, loads the level, runs the script, draws the map.
int replay(const ReplayOptions& options, const std::vector<ScriptEvent>& script)
{
    std::ofstream traceFile;
    if (!options.trace.empty()) {
        traceFile.open(options.trace, std::ios::binary | std::ios::trunc);
        if (!traceFile) {
            return fail("cannot write the trace " + options.trace);
        }
    }
    const bool drawMap = !options.map.empty();
    if (drawMap) {
        const char* failure = openGameWindow(SDL_INIT_VIDEO);
        if (failure != nullptr) {
            return fail(std::string("--map needs an OpenGL window (a display, or xvfb-run): ") +
                        failure + " (" + SDL_GetError() + ")");
        }
    }
    std::error_code error;
    if (!options.dir.empty()) {
        fs::current_path(options.dir, error);
        if (error) {
            return fail("cannot work in " + options.dir + ": " + error.message());
        }
    }
    Game world(drawMap ? RenderMode::Window : RenderMode::Headless);
    loadLevel(world);
    std::unique_ptr<TraceWriter> trace;
    if (traceFile.is_open()) {
        trace = std::make_unique<TraceWriter>(traceFile);
        trace->writeStart(world);
    }
    const ReplayResult result = StepRunner(world, script, trace.get()).run(options.steps);
    std::cout << std::flush;
    std::cerr << "quillfen-replay: stopped after step " << result.stepsRun << ": "
              << describe(result.end) << std::endl;
    if (traceFile.is_open() && !traceFile.flush()) {
        return fail("cannot write the trace " + options.trace);
    }
    if (drawMap) {
        const std::string problem = writeWorldMap(world, options.map);
        if (!problem.empty()) {
            return fail("no map: " + problem);
        }
    }
    return kDone;
}

} // namespace

int main(int argc, char** argv)
{
    reserveStandardStreams();
    ReplayOptions options;
    const std::string problem = parseReplayOptions(argc, argv, options);
    if (!problem.empty()) {
        std::cerr << "quillfen-replay: " << problem << "\n" << kReplayUsage;
        return kBadRequest;
    }
    if (options.help) {
        std::cout << kReplayUsage;
        return kDone;
    }
    ParsedScript script;
    if (!options.input.empty()) {
        script = readInputScript(options.input);
        if (!script.error.empty()) {
            std::cerr << script.error << std::endl;
            return kBadRequest;
        }
    }
    options.trace = fromStart(options.trace);
    options.map = fromStart(options.map);
    const std::string clash = outputClash(options);
    if (!clash.empty()) {
        std::cerr << "quillfen-replay: " << clash << std::endl;
        return kBadRequest;
    }
    int status = kFailed;
    try {
        status = replay(options, script.events);
    } catch (const ImageLoadError& failure) {
        status = fail(describeFailure(failure));
    }
    if (!options.map.empty()) {
        SDL_Quit();
    }
    std::cout << std::flush;
    if (logIsLost()) {
        status = fail("the game's log cannot be written to standard output");
    }
    return status;
}
