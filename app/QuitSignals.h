#pragma once

// SIGTERM and SIGINT end the game as closing its window does: the main loop ends at the end of
// the iteration in which it sees one, and a wait on the console ends at once. The game catches
// them itself, before SDL starts (SDL then leaves them alone), so that how a wait is interrupted
// never depends on how SDL's handlers restart system calls. A second signal of the same kind
// ends the process as it would have without the game's handler.

#include <string>

// Installs the handlers. Call before SDL_Init.
void catchQuitSignals();

// The first of the signals caught, or 0.
int caughtQuitSignal();

// "SIGTERM" or "SIGINT" for a caught signal, "" when none was caught.
std::string caughtQuitSignalName();
