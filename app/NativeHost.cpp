#include "app/Host.h"

void adaptWorldToHost(Game&) {}

void waitForHost(Uint32) {}

const char* hostWindowProblem() { return nullptr; }

void askForUnpacedSwaps() { SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 0); }
