#pragma once

#include <string>

// The shortest decimal text that the game's reader (readFloat) reads back to exactly `value`:
// the fewest significant digits, written without an exponent when that is no longer ("250",
// "0.1", "-3.5"), with one otherwise ("1e+20"). NaN is "nan", the infinities "inf" and "-inf";
// negative zero is "-0".
std::string floatText(float value);

// What the game's reader makes of `text`, and whether it reads a number from its start.
bool readsAs(const std::string& text, float& value);
