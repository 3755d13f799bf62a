#include "app/KeyNumbers.h"

#include <cstddef>

// The browser's SDL (emscripten's) numbers a key by the page's keyCode: the keys that type a
// character by that character, as SDL 1.2 does, the others by 1024 + SDL 2's scancode, and a
// few by the page's keyCode itself. web/library_quiet_sdl.js numbers the keypad's keys as
// keypad keys whatever NumLock says, as the native SDL does.

extern "C" void quillfen_key_name(int32_t key, char* buffer, int32_t size);

namespace {

constexpr int32_t kScancodeKey = 1024;

struct Renumbering {
    int32_t browser;
    int32_t sdl12;
};

// The keys SDL 1.2 numbers by the character they type.
bool typesItsNumber(int32_t key)
{
    const bool control =
        key == 8 || key == 9 || key == 12 || key == 13 || key == 19 || key == 27 || key == 127;
    const bool punctuationOrDigit = key >= 32 && key <= 64 && key != 37;
    return control || punctuationOrDigit || (key >= 91 && key <= 122);
}

// Keys the browser numbers by the page's keyCode: ';', '=' and '-' in chromium, Scroll Lock,
// and Print Screen (already SDL 1.2's number).
constexpr Renumbering kKeyCodes[] = {
    {186, 59}, {187, 61}, {189, 45}, {145, 302}, {316, 316},
};

// Keys the browser numbers by 1024 + SDL 2's scancode, by scancode. The Windows and Meta keys
// are SDL 1.2's Meta keys, as the native SDL numbers them.
constexpr Renumbering kScancodes[] = {
    {57, 301},  {58, 282},  {59, 283},  {60, 284},  {61, 285},  {62, 286},  {63, 287},  {64, 288},
    {65, 289},  {66, 290},  {67, 291},  {68, 292},  {69, 293},  {70, 316},  {71, 302},  {72, 19},
    {73, 277},  {74, 278},  {75, 280},  {76, 127},  {77, 279},  {78, 281},  {79, 275},  {80, 276},
    {81, 274},  {82, 273},  {83, 300},  {84, 267},  {85, 268},  {86, 269},  {87, 270},  {88, 271},
    {89, 257},  {90, 258},  {91, 259},  {92, 260},  {93, 261},  {94, 262},  {95, 263},  {96, 264},
    {97, 265},  {98, 256},  {99, 266},  {101, 319}, {103, 272}, {104, 294}, {105, 295}, {106, 296},
    {224, 306}, {225, 304}, {226, 308}, {227, 310}, {228, 305}, {229, 303}, {230, 307}, {231, 309},
};

template <size_t count> int32_t lookUp(const Renumbering (&table)[count], int32_t key)
{
    for (const Renumbering& entry : table) {
        if (entry.browser == key) {
            return entry.sdl12;
        }
    }
    return -1;
}

// SDL 1.2's number of a key the browser's SDL numbered, or -1 when it has none.
int32_t sdl12Number(int32_t key)
{
    if (typesItsNumber(key)) {
        return key;
    }
    if (key >= kScancodeKey) {
        return lookUp(kScancodes, key - kScancodeKey);
    }
    return lookUp(kKeyCodes, key);
}

} // namespace

bool renumberPolledKey(SDL_Event& event, std::string& name)
{
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) {
        return true;
    }
    const int32_t number = sdl12Number(keyNumberOf(event));
    if (number < 0) {
        char buffer[64] = {};
        quillfen_key_name(keyNumberOf(event), buffer, sizeof buffer);
        name = buffer;
        return false;
    }
    event.key.keysym.sym = static_cast<SDLKey>(number);
    return true;
}
