// Resident memory of the game: after the start-up, and after 10000 steps in which the first
// enemy is shot every step, so that a new one (with a new load of its picture) comes every
// step. Runs the windowed game (under Xvfb), or the headless world with --headless.
//
// Prints the figures as "name value" lines on standard output; the game's log is discarded.

#include "support/BenchSupport.h"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

constexpr int kShootingSteps = 10000;

struct Sample {
    int64_t peakKb = 0;
    int64_t residentKb = 0;
};

Sample sample() { return Sample{statusKilobytes("VmHWM"), statusKilobytes("VmRSS")}; }

void print(const char* name, const Sample& s)
{
    std::fprintf(stdout, "%s_peak_kb %lld\n%s_resident_kb %lld\n", name,
                 static_cast<long long>(s.peakKb), name, static_cast<long long>(s.residentKb));
}

} // namespace

int main(int argc, char** argv)
{
    const bool headless = argc > 1 && std::strcmp(argv[1], "--headless") == 0;
    const Sample atLaunch = sample();
    SilencedLog silenced;
    ScopedWorkingDirectory inAssets(assetsDir());
    if (!headless) {
        const char* failure = openWindow();
        if (failure != nullptr) {
            std::cerr << "The window cannot be opened: " << failure << std::endl;
            return 1;
        }
    }
    auto world = buildWorld(headless ? RenderMode::Headless : RenderMode::Window, true);
    world->player.hp = kPlentyOfHitPoints;
    world->frameStep();
    const Sample afterStartUp = sample();
    const size_t imagesBefore = world->renderer.images.size();
    for (int step = 0; step < kShootingSteps; ++step) {
        world->player.hp = kPlentyOfHitPoints;
        shootFirstEnemy(*world);
        world->frameStep();
    }
    const Sample afterShooting = sample();
    const auto spawns = static_cast<int64_t>(world->renderer.images.size() - imagesBefore);
    world.reset();
    if (!headless) {
        closeWindow();
    }
    std::fprintf(stdout, "mode %s\n", headless ? "headless" : "window");
    print("launch", atLaunch);
    print("start_up", afterStartUp);
    print("after_shooting", afterShooting);
    std::fprintf(stdout, "steps %d\nspawns %lld\n", kShootingSteps, static_cast<long long>(spawns));
    if (spawns > 0) {
        const double perSpawn =
            static_cast<double>(afterShooting.residentKb - afterStartUp.residentKb) /
            static_cast<double>(spawns);
        std::fprintf(stdout, "growth_per_spawn_kb %.2f\n", perSpawn);
    }
    return 0;
}
