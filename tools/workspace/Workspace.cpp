#include "workspace/Workspace.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::string& directory)
    : previous(fs::current_path().string())
{
    fs::current_path(directory);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() { fs::current_path(previous); }

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (fs::temp_directory_path() / "quillfen-scratch-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("A scratch directory cannot be made in the temporary folder.");
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

std::string assetsDir() { return QUILLFEN_ASSETS_DIR; }

void resetProcessState()
{
    nextObjectId = 0;
    std::srand(1);
}

int noConsoleWait() { return '\n'; }

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
