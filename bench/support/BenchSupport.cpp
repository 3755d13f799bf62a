#include "support/BenchSupport.h"

#include "app/GameWindow.h"
#include "level/LevelLoader.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

SilencedLog::SilencedLog() : previous(std::cout.rdbuf(&discarding)) {}

SilencedLog::~SilencedLog() { std::cout.rdbuf(previous); }

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& directory)
    : previous(fs::current_path().string())
{
    fs::current_path(directory);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() { fs::current_path(previous); }

ScratchFolder::ScratchFolder()
{
    std::string pattern = (fs::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("The scratch folder for a benchmark cannot be made.");
    }
    directory = pattern;
    for (const char* name : {"level.bmp", "tile.bmp", "bitmap.bmp", "bitmap1.bmp", "bitmap2.bmp"}) {
        fs::copy_file(assetsDir() + "/" + name, file(name));
    }
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

void ScratchFolder::write(const std::string& name, const std::string& contents) const
{
    std::ofstream out(file(name), std::ios::binary);
    out << contents;
}

std::string assetsDir() { return QUILLFEN_ASSETS_DIR; }

void resetProcessState()
{
    nextObjectId = 0;
    std::srand(1);
}

namespace {

int noConsoleWait() { return '\n'; }

} // namespace

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

void queueKey(Game& world, int32_t kind, SDLKey key)
{
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = kind == kKeyReleased ? SDL_KEYUP : SDL_KEYDOWN;
    event.key.keysym.sym = key;
    world.inputQueue.push_back(polledEvent(&world, kind, event));
}

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
        queueKey(world, kKeyReleased, SDLK_a);
        queueKey(world, kKeyPressed, SDLK_d);
    } else if (phase == kWalkSteps) {
        queueKey(world, kKeyReleased, SDLK_d);
        queueKey(world, kKeyPressed, SDLK_a);
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
