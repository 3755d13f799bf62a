#include "app/InputNames.h"

const NamedCode kKeyNames[8] = {
    {"a", 97},   {"d", 100},    {"space", 32},  {"backquote", 96},
    {"up", 273}, {"down", 274}, {"right", 275}, {"left", 276},
};

const NamedCode kButtonNames[5] = {
    {"left", 1}, {"middle", 2}, {"right", 3}, {"wheelup", 4}, {"wheeldown", 5},
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
