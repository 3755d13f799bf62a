#pragma once

#include <SDL.h>

// Starts the SDL subsystems asked for and opens the game's window: 640 by 480, 32 bits per
// pixel, double-buffered OpenGL, resizable, with hardware acceleration when the video card
// offers it. Returns null once the window is open, or the start-up message for what failed
// ("Failed to initialize SDL", "Failed to retrieve video info", "failed to set video mode").
// The caller prints the message and shuts SDL down.
const char* openGameWindow(Uint32 subsystems);
