#include "support/BenchSupport.h"

#include "app/GameWindow.h"
#include "level/LevelLoader.h"
#include "level/LevelReader.h"

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

SilencedLog::SilencedLog() : previous(std::cout.rdbuf(&discarding)) {}

SilencedLog::~SilencedLog() { std::cout.rdbuf(previous); }

std::unique_ptr<Game> buildWorld(RenderMode mode, bool withLevel)
{
    resetProcessState();
    auto world = std::make_unique<Game>(mode);
    world->readConsoleChar = noConsoleWait;
    if (withLevel) {
        loadLevel(*world);
    }
    return world;
}

const char* openWindow() { return openGameWindow(SDL_INIT_EVERYTHING); }

void closeWindow() { SDL_Quit(); }

std::string glDescription()
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer != nullptr ? renderer : "?") + ", OpenGL " +
           (version != nullptr ? version : "?");
}

namespace {

constexpr int64_t kLandingSteps = 120; // two seconds of game time to fall and come to rest
constexpr int64_t kWalkSteps = 120;    // two seconds each way

} // namespace

void SteadyPlay::beforeStep(Game& world)
{
    world.player.hp = kPlentyOfHitPoints;
    const int64_t walked = step - kLandingSteps;
    step += 1;
    if (walked < 0) {
        return;
    }
    const int64_t phase = walked % (2 * kWalkSteps);
    if (phase == 0) {
        world.inputQueue.push_back(keyEvent(world, kKeyReleased, SDLK_a));
        world.inputQueue.push_back(keyEvent(world, kKeyPressed, SDLK_d));
    } else if (phase == kWalkSteps) {
        world.inputQueue.push_back(keyEvent(world, kKeyReleased, SDLK_d));
        world.inputQueue.push_back(keyEvent(world, kKeyPressed, SDLK_a));
    }
}

bool shootFirstEnemy(Game& world)
{
    if (world.enemies().empty()) {
        return false;
    }
    const Entity& avatar = world.avatar();
    const Entity& enemy = *world.enemies().front();
    // The shot runs from the avatar's centre to the pointer; put the pointer 100 units beyond
    // the enemy's corner on that line.
    const Vec2 from{avatar.x + 32.0f, avatar.y + 32.0f};
    const Vec2 toCorner = enemy.position() - from;
    const float length = fastSqrt(lengthSquared(toCorner));
    Vec2 aim = enemy.position();
    if (length > 0.0f) {
        aim = aim + (100.0f / length) * toCorner;
    }
    const Vec2 camera = world.renderer.camera;
    world.player.currentWeapon().shots.push_back(buildShot(avatar.position(), camera,
                                                           static_cast<int>(aim.x - camera.x),
                                                           static_cast<int>(aim.y - camera.y)));
    return true;
}

int64_t statusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            return std::strtoll(line.c_str() + prefix.size(), nullptr, 10);
        }
    }
    return -1;
}

int readEveryRecord(CharSource& source)
{
    LevelReader reader(source);
    std::string word;
    LevelHeader header = LevelHeader::Objects;
    int headers = 0;
    while (reader.nextWord(word)) {
        if (!findHeader(word, header)) {
            continue;
        }
        ++headers;
        benchmark::DoNotOptimize(reader.readRecord(header));
    }
    return headers;
}
