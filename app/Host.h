#pragma once

// What the game needs from the machine it runs on beyond SDL. Natively that is nothing: the
// main loop polls until a step is due and the console is the terminal. In a browser tab the
// loop must give the page its turn between steps, and the console is the page's next typed key.
// app/NativeHost.cpp and app/BrowserHost.cpp are the two hosts; a build has one of them.

#include <SDL.h>

class Game;

// Fits the world to the host: in a browser, the world's console reads the page's next key.
void adaptWorldToHost(Game& world);

// The main loop has nothing to do until `dueTicks` (SDL's milliseconds): natively it returns
// at once, in a browser it sleeps until then, letting the page draw and take events.
void waitForHost(Uint32 dueTicks);

// Why no window can be opened here (under node there is no display), or null.
const char* hostWindowProblem();

// Once the window is open: should the display go away while the game runs, the game ends
// within moments with status 1, one line on standard error and its recording finished.
// Natively that is an X I/O error handler; a browser tab has no display to lose.
void endOnLostDisplay();

// After SDL_Init, before the window opens: buffer swaps need not wait for the screen's
// refresh (natively; a browser paces its frames itself).
void askForUnpacedSwaps();
