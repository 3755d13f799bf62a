// Quillfen: opens the window, builds the world, reads the level and runs the main loop.

#include "app/MainLoop.h"
#include "gfx/Image.h"
#include "level/LevelLoader.h"
#include "world/Game.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

[[noreturn]] void failStartUp(const char* message)
{
    std::cout << message << std::endl;
    SDL_Quit();
    std::exit(1);
}

void openWindow()
{
    if (SDL_Init(SDL_INIT_EVERYTHING) == -1) {
        failStartUp("Failed to initialize SDL");
    }
    std::atexit(SDL_Quit);
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr) {
        failStartUp("Failed to retrieve video info");
    }
    Uint32 flags = SDL_HWPALETTE | SDL_RESIZABLE | SDL_ASYNCBLIT | SDL_OPENGL | SDL_HWSURFACE;
    if (info->blit_hw != 0) {
        flags |= SDL_HWACCEL;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(640, 480, 32, flags) == nullptr) {
        failStartUp("failed to set video mode");
    }
}

int play()
{
    static char captionBuffer[1024];
    openWindow();
    Game world;
    loadLevel(world);
    std::snprintf(captionBuffer, sizeof captionBuffer, "Quillfen");
    SDL_WM_SetCaption(captionBuffer, nullptr);
    runMainLoop(world, captionBuffer);
    return 0;
}

} // namespace

int main(int, char**)
{
    try {
        return play();
    } catch (const ImageLoadError& error) {
        std::cout << std::flush;
        std::cerr << "quillfen: " << error.what() << " (" << error.fileName << ")" << std::endl;
        return 1;
    }
}
