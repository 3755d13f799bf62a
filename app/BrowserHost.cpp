#include "app/Host.h"

#include "app/MainLoop.h"
#include "world/Game.h"

#include <emscripten.h>

namespace {

// The page asks a program to end (it loads another) as a closed window would.
bool pageAskedToQuit()
{
    return EM_ASM_INT({ return Module.quitRequested ? 1 : 0; }) != 0;
}

// The console of a page: the next key typed in it once the game waits (web/page.js keeps it
// from reaching the game as a key event). Enter reads as a new line.
int readPageKey()
{
    EM_ASM({
        Module.consoleKey = -1;
        Module.consoleWaiting = true;
    });
    int key = -1;
    while ((key = EM_ASM_INT({ return Module.consoleKey; })) < 0 && !pageAskedToQuit()) {
        emscripten_sleep(kStepPeriodMilliseconds);
    }
    EM_ASM({ Module.consoleWaiting = false; });
    return key;
}

} // namespace

void adaptWorldToHost(Game& world) { world.readConsoleChar = readPageKey; }

void waitForHost(Uint32 dueTicks)
{
    // The browser's timers fire a little late, so the page sleeps until a millisecond before
    // the step is due and the loop polls the rest of the way, as it does natively.
    const Uint32 now = SDL_GetTicks();
    if (dueTicks > now + 1) {
        emscripten_sleep(dueTicks - now - 1);
    }
    if (pageAskedToQuit()) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

const char* hostWindowProblem()
{
    const bool noDocument = EM_ASM_INT({ return typeof document == 'undefined'; }) != 0;
    return noDocument ? "there is no display under node" : nullptr;
}

void askForUnpacedSwaps() {}

void endOnLostDisplay() {}
