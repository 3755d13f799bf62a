#pragma once

#include <cstddef>
#include <cstdio>

// Where a byte of the level text stands: its line and its column (counted in bytes), both from 1.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};

// Where level text comes from: an open file (the game) or bytes in memory (tests, the fuzzer).
// It hands out one byte at a time with one byte of look-ahead, which is all that the level's
// formatted reads need, exactly as the C library's formatted input pushes back one character.
class CharSource {
public:
    // Reads the file from its current position; the file stays open and owned by the caller.
    explicit CharSource(std::FILE* file);

    // Reads `size` bytes at `bytes`, which must outlive the source. NUL bytes are ordinary bytes.
    CharSource(const char* bytes, std::size_t size);

    // The next byte (0 to 255) without taking it, or EOF at the end of the text.
    int peek();

    // Takes the next byte (0 to 255), or EOF at the end of the text.
    int take();

    // How many bytes have been taken so far.
    std::size_t taken() const { return takenCount; }

    // Where the next byte stands; a line feed ends a line.
    TextPosition textPosition() const;

private:
    static constexpr int kNothingAhead = -2;

    int fetch();

    std::FILE* file = nullptr;
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    int ahead = kNothingAhead;
    std::size_t takenCount = 0;
    std::size_t line = 1;      // the line of the next byte
    std::size_t lineStart = 0; // bytes taken before that line
};
