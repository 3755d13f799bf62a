#include "app/KeyNumbers.h"

static_assert(kKeySpace == SDLK_SPACE && kKeyBackquote == SDLK_BACKQUOTE && kKeyA == SDLK_a &&
                  kKeyD == SDLK_d,
              "The native SDL numbers the game's letter keys as SDL 1.2 does.");
static_assert(kKeyUp == SDLK_UP && kKeyDown == SDLK_DOWN && kKeyRight == SDLK_RIGHT &&
                  kKeyLeft == SDLK_LEFT,
              "The native SDL numbers the arrows as SDL 1.2 does.");
static_assert(kLastKeyNumber == SDLK_LAST - 1, "SDL 1.2 numbers its keys up to SDLK_UNDO.");

// The native SDL is SDL 1.2: its numbers are the ones recordings carry.
bool renumberPolledKey(SDL_Event&, std::string&) { return true; }
