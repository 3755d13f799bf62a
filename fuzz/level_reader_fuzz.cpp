// Runs the level reader on arbitrary bytes, two ways:
// - the walk that the loader makes over a level file: words, headers, and every record kind
//   read after its header, with the word limit checked on everything that comes back;
// - the four formatted reads one after another, each compared with the C library's own
//   reading of the same bytes: whether it converts, the value, and how far it reads.
// Any difference or sanitizer report is a crash.

#include "level/CharSource.h"
#include "level/FormattedRead.h"
#include "level/LevelReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void require(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

// The bits of a float, so that two not-a-numbers compare by their bits too.
uint32_t bitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void requireWord(const std::string& word)
{
    require(word.size() <= kMaxWordLength);
    require(word.find('\0') == std::string::npos);
}

void readRecord(LevelReader& reader, LevelHeader header)
{
    switch (header) {
    case LevelHeader::Image: requireWord(reader.readPicture().fileName); break;
    case LevelHeader::Size: reader.readSize(); break;
    case LevelHeader::TileList: requireWord(reader.readTile().imageName); break;
    case LevelHeader::CollisionVector: reader.readLine(); break;
    case LevelHeader::CollisionArc: reader.readArc(); break;
    case LevelHeader::Player: reader.readPlayer(); break;
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
}

void walkLevel(const uint8_t* data, size_t size)
{
    CharSource text(reinterpret_cast<const char*>(data), size);
    LevelReader reader(text);
    std::string word;
    LevelHeader header = LevelHeader::Objects;
    while (reader.nextWord(word)) {
        requireWord(word);
        if (findHeader(word, header)) {
            readRecord(reader, header);
        }
    }
    require(text.taken() == size);
}

enum class Read { Word, Float, Int, Char };

// One read on both sides; false when the two can no longer be compared (a word of the full
// limit may have a tail that the level reader drops and the library keeps).
bool compareOneRead(Read read, CharSource& ours, std::FILE* library)
{
    switch (read) {
    case Read::Word: {
        std::string word = "unchanged";
        char libraryWord[kMaxWordLength + 1] = "unchanged";
        int start = 0;
        int end = 0;
        const bool converted = readWord(ours, word);
        require(converted == (std::fscanf(library, " %n%254s%n", &start, libraryWord, &end) == 1));
        if (!converted) {
            return true;
        }
        require(word == std::string(libraryWord, static_cast<size_t>(end - start)));
        return word.size() < kMaxWordLength;
    }
    case Read::Float: {
        float value = -7.0f;
        float libraryValue = -7.0f;
        require(readFloat(ours, value) == (std::fscanf(library, "%f", &libraryValue) == 1));
        require(bitsOf(value) == bitsOf(libraryValue));
        return true;
    }
    case Read::Int: {
        int32_t value = -7;
        int libraryValue = -7;
        require(readInt(ours, value) == (std::fscanf(library, "%d", &libraryValue) == 1));
        require(value == libraryValue);
        return true;
    }
    case Read::Char: {
        char value = 'q';
        char libraryValue = 'q';
        require(readChar(ours, value) == (std::fscanf(library, "%c", &libraryValue) == 1));
        require(value == libraryValue);
        return true;
    }
    }
    return false;
}

void compareWithLibrary(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return;
    }
    std::vector<char> bytes(data, data + size);
    std::FILE* library = fmemopen(bytes.data(), bytes.size(), "r");
    require(library != nullptr);
    CharSource ours(reinterpret_cast<const char*>(data), size);
    for (size_t index = 0; index < 64; ++index) {
        const Read read = static_cast<Read>((data[index % size] + index) % 4);
        if (!compareOneRead(read, ours, library)) {
            break;
        }
        require(static_cast<long>(ours.taken()) == std::ftell(library));
    }
    std::fclose(library);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    walkLevel(data, size);
    compareWithLibrary(data, size);
    return 0;
}
