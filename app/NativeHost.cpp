#include "app/Host.h"

#include "app/ConsoleWait.h"
#include "world/Game.h"

void adaptWorldToHost(Game& world) { world.readConsoleChar = waitForConsoleChar; }

void waitForHost(Uint32) {}

const char* hostWindowProblem() { return nullptr; }

void askForUnpacedSwaps() { SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 0); }
