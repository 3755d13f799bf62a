#include "app/InputNames.h"

#include "app/KeyNumbers.h"

#include <SDL.h>

const NamedCode kKeyNames[8] = {
    {"a", kKeyA},   {"d", kKeyD},       {"space", kKeySpace}, {"backquote", kKeyBackquote},
    {"up", kKeyUp}, {"down", kKeyDown}, {"right", kKeyRight}, {"left", kKeyLeft},
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
