// The headless world step of the bundled game: physics, commands, pursuit, camera and the spawn
// rule, with the drawing reduced to the camera clamp.

#include "support/BenchSupport.h"
#include "workspace/PlainLevelPass.h"

#include <benchmark/benchmark.h>

namespace {

// Ten seconds of game time: the level's pictures have fallen and come to rest or settled into
// their bouncing, and the walking has gone through two rounds.
constexpr int kWarmUpSteps = 600;

void reportWorld(benchmark::State& state, const Game& world)
{
    state.counters["lines"] = static_cast<double>(world.lines.size());
    state.counters["arcs"] = static_cast<double>(world.arcs.size());
    state.counters["pictures"] = static_cast<double>(world.entityLists[kLevelPictureList].size());
}

// The avatar walks to and fro and jumps (SteadyPlay); the enemies chase it when it comes near.
// `plain`: the level pass walks every line and arc, as before the shapes were indexed.
void BM_WorldStep(benchmark::State& state, bool withLevel, bool plain)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    const auto world = buildWorld(RenderMode::Headless, withLevel);
    SteadyPlay play;
    for (int step = 0; step < kWarmUpSteps; ++step) {
        play.beforeStep(*world);
        world->frameStep();
    }
    for (auto _ : state) {
        play.beforeStep(*world);
        benchmark::DoNotOptimize(plain ? plainFrameStep(*world) : world->frameStep());
    }
    reportWorld(state, *world);
}

// The same play with a shot at the first enemy once a second: an enemy dies every second and,
// once both of the start are gone, one respawns every second, loading "bitmap1.bmp" again.
void BM_WorldStepShooting(benchmark::State& state)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    const auto world = buildWorld(RenderMode::Headless, true);
    SteadyPlay play;
    const size_t imagesBefore = world->renderer.images.size();
    int64_t step = 0;
    for (auto _ : state) {
        play.beforeStep(*world);
        if (step % 60 == 0) {
            shootFirstEnemy(*world);
        }
        benchmark::DoNotOptimize(world->frameStep());
        step += 1;
    }
    reportWorld(state, *world);
    state.counters["spawns"] = static_cast<double>(world->renderer.images.size() - imagesBefore);
}

} // namespace

BENCHMARK_CAPTURE(BM_WorldStep, builtin_scene, false, false);
BENCHMARK_CAPTURE(BM_WorldStep, bundled_level, true, false);
BENCHMARK_CAPTURE(BM_WorldStep, bundled_level_plain_walk, true, true);
BENCHMARK(BM_WorldStepShooting);
