// quillfen-replay: runs the game's own world, step after step and without the clock, from an
// input script; writes the game's log on standard output, a trace of every step and a map.

#include "app/GameWindow.h"
#include "app/Host.h"
#include "app/StandardStreams.h"
#include "gfx/Image.h"
#include "level/LevelLoader.h"
#include "tools/replay/InputScript.h"
#include "tools/replay/OutputGuard.h"
#include "tools/replay/Pacer.h"
#include "tools/replay/ReplayOptions.h"
#include "tools/replay/SessionCheck.h"
#include "tools/replay/StepRunner.h"
#include "tools/replay/TraceWriter.h"
#include "tools/replay/WorldMap.h"
#include "world/Game.h"

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;     // the replay could not be done (files, window, pictures)
constexpr int kBadRequest = 2; // bad options or a bad script: nothing was run
constexpr int kDesync = 3;     // the world went another way than the recorded session

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
    case ReplayEnd::Desync: return "the world went another way than the recording";
    case ReplayEnd::Closed: return "the window was closed";
    }
    return "";
}

// Paths given on the command line are taken from where the tool was started, not from --dir.
std::string fromStart(const std::string& path)
{
    return path.empty() ? path : fs::absolute(path).string();
}

// Opens the game's window for --map, --watch and --timedemo; returns "" or what failed.
std::string openWindowFor(const ReplayOptions& options)
{
    if (options.timedemo) {
        // As fast as the renderer goes: no waiting for the screen's refresh at each swap.
        SDL_Init(SDL_INIT_VIDEO);
        askForUnpacedSwaps();
    }
    const char* failure = openGameWindow(SDL_INIT_VIDEO);
    if (failure != nullptr) {
        return std::string(failure) + " (" + SDL_GetError() + ")";
    }
    SDL_WM_SetCaption("Quillfen replay", nullptr);
    return "";
}

void printToErrors(const std::vector<std::string>& lines)
{
    std::cout << std::flush;
    for (const std::string& line : lines) {
        std::cerr << "quillfen-replay: " << line << "\n";
    }
    std::cerr << std::flush;
}

// Builds the world in the game's folder, loads the level, runs the script, draws the map.
int replay(const ReplayOptions& options, const ParsedScript& script)
{
    std::ofstream traceFile;
    if (!options.trace.empty()) {
        traceFile.open(options.trace, std::ios::binary | std::ios::trunc);
        if (!traceFile) {
            return fail("cannot write the trace " + options.trace);
        }
    }
    const bool drawMap = !options.map.empty();
    const bool drawFrame = !options.frame.empty();
    const bool inWindow = drawMap || drawFrame || options.watch || options.timedemo;
    if (inWindow) {
        const std::string failure = openWindowFor(options);
        if (!failure.empty()) {
            return fail(std::string(drawMap         ? "--map"
                                    : drawFrame     ? "--frame"
                                    : options.watch ? "--watch"
                                                    : "--timedemo") +
                        " needs an OpenGL window (a display, or xvfb-run): " + failure);
        }
    }
    std::error_code error;
    if (!options.dir.empty()) {
        fs::current_path(options.dir, error);
        if (error) {
            return fail("cannot work in " + options.dir + ": " + error.message());
        }
    }
    Game world(inWindow ? RenderMode::Window : RenderMode::Headless);
    loadLevel(world);
    printToErrors(headerNotes(script.comments, world));
    std::unique_ptr<TraceWriter> trace;
    if (traceFile.is_open()) {
        trace = std::make_unique<TraceWriter>(traceFile);
        trace->writeStart(world);
    }
    StepRunner runner(world, script.events, trace.get());
    runner.checkAgainst(script.checkpoints);
    std::optional<Pacer> pacer;
    if (options.watch || options.timedemo) {
        pacer.emplace(options.timedemo ? PaceMode::Timedemo : PaceMode::Watch);
        runner.pacedBy(&*pacer);
    }
    const ReplayResult result = runner.run(options.steps);
    if (result.end == ReplayEnd::Desync) {
        printToErrors(desyncReport(script.comments, world, result));
    }
    printToErrors(
        {"stopped after step " + std::to_string(result.stepsRun) + ": " + describe(result.end)});
    if (options.timedemo) {
        printToErrors({pacer->summary()});
    }
    if (traceFile.is_open() && !traceFile.flush()) {
        return fail("cannot write the trace " + options.trace);
    }
    if (drawFrame) {
        const std::string problem = writeWindowFrame(world, options.frame);
        if (!problem.empty()) {
            return fail("no frame: " + problem);
        }
    }
    if (drawMap) {
        const std::string problem = writeWorldMap(world, options.map);
        if (!problem.empty()) {
            return fail("no map: " + problem);
        }
    }
    return result.end == ReplayEnd::Desync ? kDesync : kDone;
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
        const std::string format = unreadableFormat(script.comments);
        if (!format.empty()) {
            std::cerr << "quillfen-replay: " << options.input << ": " << format << std::endl;
            return kBadRequest;
        }
    }
    options.trace = fromStart(options.trace);
    options.map = fromStart(options.map);
    options.frame = fromStart(options.frame);
    const std::string refusal = outputProblem(options);
    if (!refusal.empty()) {
        std::cerr << "quillfen-replay: " << refusal << std::endl;
        return kBadRequest;
    }
    int status = kFailed;
    try {
        status = replay(options, script);
    } catch (const ImageLoadError& failure) {
        status = fail(describeFailure(failure));
    }
    if (!options.map.empty() || !options.frame.empty() || options.watch || options.timedemo) {
        SDL_Quit();
    }
    std::cout << std::flush;
    if (logIsLost()) {
        status = fail("the game's log cannot be written to standard output");
    }
    return status;
}
