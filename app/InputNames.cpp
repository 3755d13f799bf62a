#include "app/InputNames.h"

#include <SDL.h>

// By SDL's own names: the arrows' codes differ between the native SDL and the browser's.
const NamedCode kKeyNames[8] = {
    {"a", SDLK_a},   {"d", SDLK_d},       {"space", SDLK_SPACE}, {"backquote", SDLK_BACKQUOTE},
    {"up", SDLK_UP}, {"down", SDLK_DOWN}, {"right", SDLK_RIGHT}, {"left", SDLK_LEFT},
};

const NamedCode kButtonNames[5] = {
    {"left", SDL_BUTTON_LEFT},           {"middle", SDL_BUTTON_MIDDLE},
    {"right", SDL_BUTTON_RIGHT},         {"wheelup", SDL_BUTTON_WHEELUP},
    {"wheeldown", SDL_BUTTON_WHEELDOWN},
};

std::string nameOrNumber(const NamedCode* names, size_t count, int32_t code)
{
    for (size_t index = 0; index < count; ++index) {
        if (names[index].code == code) {
            return names[index].name;
        }
    }
    return std::to_string(code);
}
