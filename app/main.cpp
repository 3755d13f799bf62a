// Quillfen: opens the window, builds the world, reads the level and runs the main loop.

#include "app/GameWindow.h"
#include "app/Host.h"
#include "app/MainLoop.h"
#include "app/QuitSignals.h"
#include "app/SessionRecorder.h"
#include "app/StandardStreams.h"
#include "gfx/Image.h"
#include "level/LevelLoader.h"
#include "world/Game.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

[[noreturn]] void failStartUp(const char* message)
{
    std::cout << message << std::endl;
    SDL_Quit();
    std::exit(1);
}

void openWindow()
{
    const char* failure = openGameWindow(SDL_INIT_EVERYTHING);
    if (failure != nullptr) {
        failStartUp(failure);
    }
    std::atexit(SDL_Quit);
    endOnLostDisplay();
}

int play()
{
    static char captionBuffer[1024];
    openWindow();
    Game world;
    adaptWorldToHost(world);
    loadLevel(world);
    warnOnceIfLogIsLost("quillfen");
    std::snprintf(captionBuffer, sizeof captionBuffer, "Quillfen");
    SDL_WM_SetCaption(captionBuffer, nullptr);
    const std::unique_ptr<SessionRecorder> recorder = recordIfAsked(world);
    runMainLoop(world, captionBuffer);
    return 0;
}

} // namespace

int main(int, char**)
{
    reserveStandardStreams();
    // The log is not the game: a reader of a piped log that goes away costs the log, not the
    // game.
    std::signal(SIGPIPE, SIG_IGN);
    catchQuitSignals();
    try {
        return play();
    } catch (const ImageLoadError& error) {
        std::cout << std::flush;
        std::cerr << "quillfen: " << describeFailure(error) << std::endl;
        return 1;
    }
}
