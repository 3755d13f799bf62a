#pragma once

#include <SDL.h>

#include <cstdint>

class Game;

// What an InputEvent reports.
enum InputKind : int32_t {
    kKeyPressed = 1,
    kKeyReleased = 2,
    kMouseButtonPressed = 3,
    kKeyHeld = 5,
    kEntityCollision = 7,
};

// One record of the world's input queue: a polled SDL event, a held key, or a collision.
struct InputEvent {
    SDL_Event sdlEvent{};
    int32_t firstId = 0;
    int32_t secondId = 0;
    int32_t kind = 0;
    Game* world = nullptr;
};

// A record that carries only a key symbol, SDL 1.2's number (held keys and collisions).
InputEvent keySymbolEvent(Game* world, int32_t kind, int32_t key);

// A record for a polled SDL event of kind 1, 2 or 3.
InputEvent polledEvent(Game* world, int32_t kind, const SDL_Event& event);
