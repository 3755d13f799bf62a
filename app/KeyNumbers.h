#pragma once

// Keys as SDL 1.2 numbers them. The world, recordings and input scripts use these numbers in
// every build; the browser's SDL numbers keys its own way, so its polled key events are
// renumbered (app/BrowserKeys.cpp) before anything else sees them. Natively they are the
// SDLK_ constants themselves (app/NativeKeys.cpp checks it).

#include <SDL.h>

#include <cstdint>
#include <string>

constexpr int32_t kKeySpace = 32;
constexpr int32_t kKeyBackquote = 96;
constexpr int32_t kKeyA = 97;
constexpr int32_t kKeyD = 100;
constexpr int32_t kKeyUp = 273;
constexpr int32_t kKeyDown = 274;
constexpr int32_t kKeyRight = 275;
constexpr int32_t kKeyLeft = 276;
constexpr int32_t kLastKeyNumber = 322; // SDLK_UNDO, the last key SDL 1.2 has a number for

// The key of a polled key event, as SDL 1.2 numbers it.
inline int32_t keyNumberOf(const SDL_Event& event)
{
    return static_cast<int32_t>(event.key.keysym.sym);
}

// Renumbers the key of a key event just polled from the build's SDL to SDL 1.2's number, in
// place; other events are left as they are. Returns false for a key SDL 1.2 has no number for:
// that event must not reach the world, and `name` then tells which key it was.
bool renumberPolledKey(SDL_Event& event, std::string& name);
