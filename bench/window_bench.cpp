// The drawn game under a real OpenGL context (run it under Xvfb): the frame with its buffer
// swap, the windowed world step, and the start-up to the first frame.

#include "support/BenchSupport.h"

#include "level/LevelLoader.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <SDL.h>

#include <chrono>
#include <cstdlib>

namespace {

constexpr int kWarmUpSteps = 600;

// The window and the bundled world, played for ten seconds of game time as SteadyPlay plays.
class DrawnWorld {
public:
    // `pictures`: level pictures in all, as many more made as the level's "#_Image" records
    // make them (in the level's pen, all in view).
    explicit DrawnWorld(benchmark::State& state, size_t pictures = 0) : inAssets(assetsDir())
    {
        const char* failure = openWindow();
        if (failure != nullptr) {
            state.SkipWithError(failure);
            return;
        }
        state.SetLabel(glDescription());
        world = buildWorld(RenderMode::Window, true);
        while (world->levelPictures().size() < pictures) {
            const float dirX = static_cast<float>(std::rand() % 10 - 5);
            const float dirY = static_cast<float>(std::rand() % 10 - 5);
            auto picture =
                std::make_unique<Entity>(200.0f, 100.0f, 150.0f, 64.0f, 64.0f, dirX, dirY);
            picture->imageIds.push_back(world->renderer.loadImage("bitmap2.bmp"));
            world->levelPictures().push_back(std::move(picture));
        }
        // A world of many pictures draws slowly: a few steps, the pictures stay in view.
        const int warmUp = pictures > 3 ? 10 : kWarmUpSteps;
        for (int step = 0; step < warmUp; ++step) {
            play.beforeStep(*world);
            world->frameStep();
        }
    }

    ~DrawnWorld()
    {
        world.reset();
        closeWindow();
    }

    DrawnWorld(const DrawnWorld&) = delete;
    DrawnWorld& operator=(const DrawnWorld&) = delete;

    SilencedLog silenced;
    ScopedWorkingDirectory inAssets;
    std::unique_ptr<Game> world;
    SteadyPlay play;
};

// The same frame drawn over and over: clear, background, tile, entities, swap. The argument is
// the number of level pictures (3 in the bundled level).
void BM_DrawFrame(benchmark::State& state)
{
    DrawnWorld drawn(state, static_cast<size_t>(state.range(0)));
    if (drawn.world == nullptr) {
        return;
    }
    for (auto _ : state) {
        drawn.world->renderer.drawFrame();
    }
}

// The same frame without the background quad, which alone covers the whole window.
void BM_DrawFrameWithoutBackground(benchmark::State& state)
{
    DrawnWorld drawn(state);
    if (drawn.world == nullptr) {
        return;
    }
    drawn.world->renderer.levelPicture.texture = 0; // a background that failed to load
    for (auto _ : state) {
        drawn.world->renderer.drawFrame();
    }
}

// Only the clear and the swap, the same on every frame of any game in this window: the floor
// under the cost of a drawn frame with this OpenGL and this X server.
void BM_ClearAndSwap(benchmark::State& state)
{
    DrawnWorld drawn(state);
    if (drawn.world == nullptr) {
        return;
    }
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapBuffers();
    }
}

// The same frame without the swap, finished with glFinish: what the drawing itself costs.
void BM_DrawScene(benchmark::State& state)
{
    DrawnWorld drawn(state);
    if (drawn.world == nullptr) {
        return;
    }
    for (auto _ : state) {
        drawn.world->renderer.drawScene();
        glFinish();
    }
}

// The world step as the game runs it: physics, the drawn frame with its swap, the rest.
void BM_FrameStepWindow(benchmark::State& state)
{
    DrawnWorld drawn(state);
    if (drawn.world == nullptr) {
        return;
    }
    for (auto _ : state) {
        drawn.play.beforeStep(*drawn.world);
        benchmark::DoNotOptimize(drawn.world->frameStep());
    }
}

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// From nothing to the first frame on the screen, as the game starts: the window, the world
// with its pictures, Level.txt, one world step. The shut-down after it is not timed.
void BM_StartUpToFirstFrame(benchmark::State& state)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    double window = 0.0;
    double world = 0.0;
    double level = 0.0;
    double firstStep = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const char* failure = openWindow();
        if (failure != nullptr) {
            state.SkipWithError(failure);
            break;
        }
        const Clock::time_point opened = Clock::now();
        auto game = buildWorld(RenderMode::Window, false);
        const Clock::time_point built = Clock::now();
        loadLevel(*game);
        const Clock::time_point loaded = Clock::now();
        game->frameStep();
        const Clock::time_point stepped = Clock::now();
        state.SetIterationTime(secondsBetween(start, stepped));
        window += secondsBetween(start, opened);
        world += secondsBetween(opened, built);
        level += secondsBetween(built, loaded);
        firstStep += secondsBetween(loaded, stepped);
        game.reset();
        closeWindow();
    }
    const auto perRun = benchmark::Counter::kAvgIterations;
    state.counters["window_ms"] = benchmark::Counter(window * 1e3, perRun);
    state.counters["world_ms"] = benchmark::Counter(world * 1e3, perRun);
    state.counters["level_ms"] = benchmark::Counter(level * 1e3, perRun);
    state.counters["first_step_ms"] = benchmark::Counter(firstStep * 1e3, perRun);
}

} // namespace

BENCHMARK(BM_DrawFrame)->Arg(3)->Arg(1000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawFrameWithoutBackground)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClearAndSwap)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawScene)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameStepWindow)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartUpToFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
