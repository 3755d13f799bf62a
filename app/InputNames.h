#pragma once

// The names that input scripts and recorded sessions give to the keys the game listens to, with
// SDL 1.2's numbers (app/KeyNumbers.h) in every build, and to the mouse buttons.

#include <cstddef>
#include <cstdint>
#include <string>

struct NamedCode {
    const char* name;
    int32_t code;
};

extern const NamedCode kKeyNames[8];    // a, d, space, backquote, up, down, right, left
extern const NamedCode kButtonNames[5]; // left, middle, right, wheelup, wheeldown

// The name of a code in one of the tables, or the code as a decimal number.
std::string nameOrNumber(const NamedCode* names, size_t count, int32_t code);
