#include "support/TestWorld.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& directory)
    : previous(fs::current_path().string())
{
    fs::current_path(directory);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() { fs::current_path(previous); }

LogCapture::LogCapture() : previous(std::cout.rdbuf(captured.rdbuf())) {}

LogCapture::~LogCapture() { std::cout.rdbuf(previous); }

std::string assetsDir() { return QUILLFEN_ASSETS_DIR; }

void resetProcessState()
{
    nextObjectId = 0;
    std::srand(1);
}

namespace {

int noConsoleWait() { return '\n'; }

} // namespace

std::unique_ptr<Game> makeHeadlessGame(const std::string& directory)
{
    resetProcessState();
    ScopedWorkingDirectory inDirectory(directory);
    LogCapture discarded;
    auto game = std::make_unique<Game>(RenderMode::Headless);
    game->readConsoleChar = noConsoleWait;
    return game;
}

Entity& placeAvatar(Game& game, float x, float y, float speed, float dirX, float dirY)
{
    Entity& avatar = game.avatar();
    avatar.x = x;
    avatar.y = y;
    avatar.speed = speed;
    avatar.dirX = dirX;
    avatar.dirY = dirY;
    return avatar;
}

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (fs::temp_directory_path() / "quillfen-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    directory = pattern;
    for (const char* name : {"level.bmp", "tile.bmp", "bitmap.bmp", "bitmap1.bmp", "bitmap2.bmp"}) {
        fs::copy_file(assetsDir() + "/" + name, file(name));
    }
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

void ScratchDirectory::write(const std::string& name, const std::string& contents) const
{
    std::ofstream out(file(name), std::ios::binary);
    out << contents;
}

InputEvent keyEvent(Game& world, int32_t kind, SDLKey key)
{
    SDL_Event event{};
    event.type = kind == kKeyReleased ? SDL_KEYUP : SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return polledEvent(&world, kind, event);
}

InputEvent mouseEvent(Game& world, Uint8 button, Uint16 x, Uint16 y)
{
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return polledEvent(&world, kMouseButtonPressed, event);
}
