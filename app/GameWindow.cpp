#include "app/GameWindow.h"

#include "app/Host.h"

const char* openGameWindow(Uint32 subsystems)
{
    if (const char* problem = hostWindowProblem()) {
        return problem;
    }
    if (SDL_Init(subsystems) == -1) {
        return "Failed to initialize SDL";
    }
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr) {
        return "Failed to retrieve video info";
    }
    Uint32 flags = SDL_HWPALETTE | SDL_RESIZABLE | SDL_ASYNCBLIT | SDL_OPENGL | SDL_HWSURFACE;
    if (info->blit_hw != 0) {
        flags |= SDL_HWACCEL;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(640, 480, 32, flags) == nullptr) {
        return "failed to set video mode";
    }
    return nullptr;
}
