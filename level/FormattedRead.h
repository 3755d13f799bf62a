#pragma once

#include "level/CharSource.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The four reads that the level text is made of, each taking from the source exactly the bytes
// that the C library's formatted input ("%s", "%f", "%d"/"%ld", "%c") takes from a file. A read
// that fails leaves its variable unchanged; what it did not take stays for the next read.

// The longest word, key or name that the level keeps; the rest of a longer run is dropped.
constexpr std::size_t kMaxWordLength = 254;

// Blank, tab, newline, vertical tab, form feed, carriage return: the separators of words.
bool isLevelSpace(int byte);

// Takes the white space ahead, as every read but readChar does first.
void skipLevelSpace(CharSource& source);

// Skips white space and reads the next run of other bytes. A run longer than kMaxWordLength
// keeps its first kMaxWordLength bytes and the rest of it is taken and dropped, so it never
// becomes another word. False (word unchanged) when the text ends before a word.
bool readWord(CharSource& source, std::string& word);

// Skips white space and reads a floating-point number as "%f" does: an optional sign, then
// decimal digits with a point and an exponent, a hexadecimal number ("0x1p3"), "nan", "inf" or
// "infinity" in any case. It takes the longest run that could start such a number; when that
// run holds a number (as strtof reads it), the value is stored rounded to single precision
// ("1e39" gives infinity) and true returned. "12abc" reads 12 and leaves "abc"; "1ex" reads 1
// and leaves "x" (the "e" is taken); "-x" fails and leaves "x" (the "-" is taken).
bool readFloat(CharSource& source, float& value);

// Skips white space and reads a decimal integer as "%d" does: an optional sign and digits.
// A value outside the 32-bit range keeps its low 32 bits, as on this 64-bit platform, where
// the C library reads it as a 64-bit number first (clamped to the 64-bit range): 4294967295
// reads as -1, 4294967298 as 2, and an id written either way echoes the same. A lone sign is
// taken and fails.
bool readInt(CharSource& source, int32_t& value);

// Takes the next byte raw, white space included. False at the end of the text.
bool readChar(CharSource& source, char& value);
