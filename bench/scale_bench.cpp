// How the step grows with the level: level pictures against collision lines and arcs, the whole
// step and each pass of the physics on its own.

#include "support/BenchSupport.h"

#include "entities/ShotHits.h"
#include "workspace/PlainLevelPass.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kWarmUpSteps = 120;

// Added shapes lie this far below the world: every level pass tests them, none is ever
// touched, so the contacts stay those of the bundled level and only the testing grows.
constexpr float kFarBelow = 2000.0f;

// Copies of `own`, `count` of them, moved far below the world.
template <typename Shape> std::vector<Shape> farCopies(const ShapeList<Shape>& own, size_t count)
{
    std::vector<Shape> copies;
    for (size_t i = 0; i < count; ++i) {
        Shape shape = own[i % own.size()];
        shape.y = shape.y + kFarBelow;
        copies.push_back(shape);
    }
    return copies;
}

// The bundled world (built-in scene and Level.txt) with `pictures` level pictures, made as the
// level file's "#_Image" records make them (they start in the level's pen), played for two
// seconds of game time so that the avatar and the pictures have landed; then grown to `shapes`
// lines and as many arcs, the added ones copies of the world's own moved far below it. Shapes
// that nothing touches change nothing in the play, so they can come after the warm-up.
std::unique_ptr<Game> warmedScaledWorld(benchmark::State& state, SteadyPlay& play)
{
    const auto pictures = static_cast<size_t>(state.range(0));
    const auto shapes = static_cast<size_t>(state.range(1));
    auto world = buildWorld(RenderMode::Headless, true);
    while (world->levelPictures().size() < pictures) {
        const float dirX = static_cast<float>(std::rand() % 10 - 5);
        const float dirY = static_cast<float>(std::rand() % 10 - 5);
        auto picture = std::make_unique<Entity>(200.0f, 100.0f, 150.0f, 64.0f, 64.0f, dirX, dirY);
        picture->imageIds.push_back(world->renderer.loadImage("bitmap2.bmp"));
        world->levelPictures().push_back(std::move(picture));
    }
    for (int step = 0; step < kWarmUpSteps; ++step) {
        play.beforeStep(*world);
        world->frameStep();
    }
    if (world->lines.size() < shapes) {
        const auto added = farCopies(world->lines, shapes - world->lines.size());
        world->lines.append(added.begin(), added.end());
    }
    if (world->arcs.size() < shapes) {
        const auto added = farCopies(world->arcs, shapes - world->arcs.size());
        world->arcs.append(added.begin(), added.end());
    }
    return world;
}

// How the level pass finds its shapes: the plain walk over all of them (the game before the
// index), the game's grid of square cells, or buckets along x (cells as wide, and as high as
// the whole level).
enum LevelPass : int64_t { kPlainWalk = 0, kGrid = 1, kBucketsAlongX = 2 };

constexpr double kCellSize = 128.0;

// The frame step with the level pass of the third argument.
void BM_ScaleStep(benchmark::State& state)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    SteadyPlay play;
    const auto world = warmedScaledWorld(state, play);
    const int64_t pass = state.range(2);
    if (pass == kBucketsAlongX) {
        world->physics.shapeIndex = ShapeIndex(kCellSize, std::numeric_limits<double>::infinity());
    } else if (pass == kGrid && state.range(3) != 0) {
        world->physics.shapeIndex =
            ShapeIndex(static_cast<double>(state.range(3)), static_cast<double>(state.range(3)));
    }
    for (auto _ : state) {
        play.beforeStep(*world);
        benchmark::DoNotOptimize(pass == kPlainWalk ? plainFrameStep(*world) : world->frameStep());
    }
}

using Clock = std::chrono::steady_clock;

double nanosecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::nano>(to - from).count();
}

// The passes of the physics step, in the step's own order, each timed on its own; then the rest
// of the frame step. SteadyPlay never shoots, so no enemy dies and the spawn rule has nothing to
// do; the hit points never run out, so the death test has nothing to do either.
void BM_ScalePasses(benchmark::State& state)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    SteadyPlay play;
    const auto world = warmedScaledWorld(state, play);
    Physics& physics = world->physics;
    double move = 0.0;
    double pairs = 0.0;
    double levelAvatarEnemies = 0.0;
    double levelPictures = 0.0;
    double rest = 0.0;
    for (auto _ : state) {
        play.beforeStep(*world);
        const Clock::time_point start = Clock::now();
        for (EntityList& list : world->entityLists) {
            physics.moveAll(list);
        }
        const Clock::time_point moved = Clock::now();
        physics.collideEntities(world->avatars(), world->enemies());
        physics.collideEntities(world->levelPictures(), world->avatars());
        physics.collideEntities(world->levelPictures(), world->enemies());
        const Clock::time_point paired = Clock::now();
        physics.collideWithLevel(world->avatars());
        physics.collideWithLevel(world->enemies());
        const Clock::time_point firstLevel = Clock::now();
        physics.collideWithLevel(world->levelPictures());
        const Clock::time_point secondLevel = Clock::now();
        resolveShots(physics, world->chasers, world->player.currentWeapon().shots);
        world->renderer.drawFrame();
        world->handleInput();
        world->runChasers();
        world->renderer.followCamera(world->avatar());
        const Clock::time_point end = Clock::now();
        move += nanosecondsBetween(start, moved);
        pairs += nanosecondsBetween(moved, paired);
        levelAvatarEnemies += nanosecondsBetween(paired, firstLevel);
        levelPictures += nanosecondsBetween(firstLevel, secondLevel);
        rest += nanosecondsBetween(secondLevel, end);
    }
    const auto perStep = benchmark::Counter::kAvgIterations;
    state.counters["move_ns"] = benchmark::Counter(move, perStep);
    state.counters["pairs_ns"] = benchmark::Counter(pairs, perStep);
    state.counters["level_avatar_enemies_ns"] = benchmark::Counter(levelAvatarEnemies, perStep);
    state.counters["level_pictures_ns"] = benchmark::Counter(levelPictures, perStep);
    state.counters["rest_ns"] = benchmark::Counter(rest, perStep);
}

void scaleGrid(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"pictures", "shapes"});
    for (int64_t pictures : {10, 100, 1000}) {
        for (int64_t shapes : {100, 1000, 10000}) {
            benchmark->Args({pictures, shapes});
        }
    }
}

// Before (the plain walk) up to 10,000 shapes, the grid and the buckets along x up to 100,000;
// the last argument, when not 0, is the grid's cell size.
void scaleSteps(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"pictures", "shapes", "pass", "cell"});
    for (int64_t pictures : {10, 100, 1000}) {
        for (int64_t shapes : {100, 1000, 10000, 100000}) {
            for (int64_t pass : {kPlainWalk, kGrid, kBucketsAlongX}) {
                if (pass != kPlainWalk || shapes <= 10000) {
                    benchmark->Args({pictures, shapes, pass, 0});
                }
            }
        }
    }
    for (int64_t cell : {32, 64, 256, 512}) {
        benchmark->Args({1000, 10000, kGrid, cell});
    }
}

// The avatar's plain level pass (every shape tried) against `shapes` lines, or arcs, that it
// does not touch: the cost of one test. (With no lines to carry it, the avatar tries every arc.)
void levelPassAgainst(benchmark::State& state, bool arcs)
{
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    const auto shapes = static_cast<size_t>(state.range(0));
    const auto world = buildWorld(RenderMode::Headless, true);
    if (arcs) {
        const auto copies = farCopies(world->arcs, shapes);
        world->arcs.assign(copies.begin(), copies.end());
        world->lines.clear();
    } else {
        const auto copies = farCopies(world->lines, shapes);
        world->lines.assign(copies.begin(), copies.end());
        world->arcs.clear();
    }
    Entity& avatar = world->avatar();
    for (auto _ : state) {
        avatar.speed = 0.0f; // only gravity's push of this pass, never a build-up
        plainLevelPass(*world, world->avatars());
        benchmark::DoNotOptimize(avatar.speed);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(shapes));
}

void BM_LevelPassLines(benchmark::State& state) { levelPassAgainst(state, false); }
void BM_LevelPassArcs(benchmark::State& state) { levelPassAgainst(state, true); }

} // namespace

BENCHMARK(BM_ScaleStep)->Apply(scaleSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScalePasses)->Apply(scaleGrid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelPassLines)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelPassArcs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
