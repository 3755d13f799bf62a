// The figures that need a fresh process of their own, printed as "name value" lines on
// standard output (the game's log is discarded):
//
//   start-up         the cold start to the first frame, as the game starts: the window (every
//                    SDL subsystem, the OpenGL context), the world with its pictures, Level.txt,
//                    the first world step with its drawn frame. Needs an X display.
//   memory           the resident size after that start-up, and after 10000 steps in which the
//                    first enemy is shot every step, so that a new one, with a new load of its
//                    picture and a new texture, comes every step. Needs an X display.
//   memory-headless  the same without a window: pictures are read and masked, no texture made.
//   level-images     loadLevel on a Level.txt of 200000 "#_Image" records of one 64x64 picture,
//                    in the window: how long it takes and the resident size after it.
//   level-images-headless  the same without a window.

#include "support/BenchSupport.h"

#include "level/LevelLoader.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr int kShootingSteps = 10000;
constexpr int kImageRecords = 200000;

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Sample {
    int64_t peakKb = 0;
    int64_t residentKb = 0;
};

Sample sample() { return Sample{statusKilobytes("VmHWM"), statusKilobytes("VmRSS")}; }

void print(const char* name, const Sample& s)
{
    std::printf("%s_peak_kb %lld\n%s_resident_kb %lld\n", name, static_cast<long long>(s.peakKb),
                name, static_cast<long long>(s.residentKb));
}

// The game's start-up up to its first frame; prints how long each part took.
std::unique_ptr<Game> startUp(RenderMode mode)
{
    const Clock::time_point start = Clock::now();
    if (mode == RenderMode::Window) {
        const char* failure = openWindow();
        if (failure != nullptr) {
            std::cerr << "The window cannot be opened: " << failure << std::endl;
            return nullptr;
        }
    }
    const Clock::time_point opened = Clock::now();
    auto world = buildWorld(mode, false);
    const Clock::time_point built = Clock::now();
    loadLevel(*world);
    const Clock::time_point loaded = Clock::now();
    world->player.hp = kPlentyOfHitPoints;
    world->frameStep();
    const Clock::time_point stepped = Clock::now();
    std::printf("start_up_ms %.3f\nwindow_ms %.3f\nworld_ms %.3f\nlevel_ms %.3f\n"
                "first_step_ms %.3f\n",
                millisecondsBetween(start, stepped), millisecondsBetween(start, opened),
                millisecondsBetween(opened, built), millisecondsBetween(built, loaded),
                millisecondsBetween(loaded, stepped));
    return world;
}

void shootAndRespawn(Game& world)
{
    const Sample afterStartUp = sample();
    const size_t imagesBefore = world.renderer.images.size();
    for (int step = 0; step < kShootingSteps; ++step) {
        world.player.hp = kPlentyOfHitPoints;
        shootFirstEnemy(world);
        world.frameStep();
    }
    const Sample afterShooting = sample();
    const auto spawns = static_cast<int64_t>(world.renderer.images.size() - imagesBefore);
    print("start_up", afterStartUp);
    print("after_shooting", afterShooting);
    std::printf("steps %d\nspawns %lld\n", kShootingSteps, static_cast<long long>(spawns));
    if (spawns > 0) {
        const auto growth = static_cast<double>(afterShooting.residentKb - afterStartUp.residentKb);
        std::printf("growth_per_spawn_kb %.2f\n", growth / static_cast<double>(spawns));
    }
}

// A level of many pictures, all of one file, loaded into the world as the game loads its level.
void loadImageRecords(Game& world)
{
    ScratchDirectory folder;
    std::string level;
    for (int record = 0; record < kImageRecords; ++record) {
        level += "#_Image bitmap2.bmp\n";
    }
    folder.write("Level.txt", level);
    ScopedWorkingDirectory inFolder(folder.path());
    const size_t picturesBefore = world.levelPictures().size();
    const Sample before = sample();
    const Clock::time_point start = Clock::now();
    loadLevel(world);
    const Clock::time_point loaded = Clock::now();
    print("before_level", before);
    print("after_level", sample());
    std::printf("image_records %zu\nlevel_ms %.1f\n", world.levelPictures().size() - picturesBefore,
                millisecondsBetween(start, loaded));
}

} // namespace

int main(int argc, char** argv)
{
    const std::string figure = argc > 1 ? argv[1] : "";
    const bool memory = figure.rfind("memory", 0) == 0;
    const bool images = figure.rfind("level-images", 0) == 0;
    const bool headless = figure.find("-headless") != std::string::npos;
    if (!memory && !images && figure != "start-up") {
        std::cerr << "Usage: quillfen_bench_process start-up|memory|memory-headless|"
                     "level-images|level-images-headless"
                  << std::endl;
        return 2;
    }
    const Sample atLaunch = sample();
    std::unique_ptr<Game> world;
    {
        SilencedLog silenced;
        ScopedWorkingDirectory inAssets(assetsDir());
        world = startUp(headless ? RenderMode::Headless : RenderMode::Window);
        if (world == nullptr) {
            return 1;
        }
        if (memory || images) {
            print("launch", atLaunch);
        }
        if (memory) {
            shootAndRespawn(*world);
        } else if (images) {
            loadImageRecords(*world);
        }
        world.reset();
    }
    if (!headless) {
        closeWindow();
    }
    return 0;
}
