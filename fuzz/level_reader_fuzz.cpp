// Runs the level reader on arbitrary bytes, three ways:
// - the walk that the loader makes over a level file: words, headers, and every record kind
//   read after its header, with the word limit checked on everything that comes back; the
//   same walk with an observer must read the very same records, and every report must point
//   inside the text;
// - the walk of quillfen-lint over the same bytes, which must find its way through anything;
// - the four formatted reads one after another, each compared with the C library's own
//   reading of the same bytes: whether it converts, the value, and how far it reads.
// Any difference or sanitizer report is a crash.

#include "level/CharSource.h"
#include "level/FormattedRead.h"
#include "level/LevelReader.h"
#include "tools/lint-level/LevelWalk.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
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

// A record's values appended to `read` (floats by their bits), so two walks can be compared.
void keep(std::string& read, std::initializer_list<uint32_t> values)
{
    for (const uint32_t value : values) {
        read.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
}

uint32_t bitsOf(int32_t value) { return static_cast<uint32_t>(value); }

void readRecord(LevelReader& reader, LevelHeader header, std::string& read)
{
    const LevelRecord record = reader.readRecord(header);
    switch (header) {
    case LevelHeader::Image: read += record.picture.fileName; break;
    case LevelHeader::Size: {
        const SizeRecord& size = record.size;
        keep(read, {bitsOf(size.width), bitsOf(size.height)});
        break;
    }
    case LevelHeader::TileList: {
        const TileRecord& tile = record.tile;
        requireWord(tile.imageName);
        read += tile.imageName;
        keep(read, {bitsOf(tile.id), bitsOf(tile.x), bitsOf(tile.y), bitsOf(tile.imageId)});
        break;
    }
    case LevelHeader::CollisionVector: {
        const LineRecord& line = record.line;
        keep(read, {bitsOf(line.x), bitsOf(line.y), bitsOf(line.dx), bitsOf(line.dy), line.type,
                    bitsOf(line.id)});
        break;
    }
    case LevelHeader::CollisionArc: {
        const ArcRecord& arc = record.arc;
        keep(read, {bitsOf(arc.x), bitsOf(arc.y), bitsOf(arc.radius), arc.quadrant, arc.flag,
                    bitsOf(arc.minSpeed), bitsOf(arc.distance)});
        break;
    }
    case LevelHeader::Player: {
        const PlayerRecord& player = record.player;
        keep(read,
             {bitsOf(player.hp), bitsOf(player.ammoG), bitsOf(player.ammoF), bitsOf(player.ammoB),
              bitsOf(player.score), static_cast<uint8_t>(player.gunType)});
        break;
    }
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
}

// Every report points inside the text, at or after the one before.
struct ReportCheck {
    size_t size = 0;
    size_t lastOffset = 0;
};

void checkReport(void* context, const ReadReport& report)
{
    auto& check = *static_cast<ReportCheck*>(context);
    require(report.offset <= check.size && report.offset >= check.lastOffset);
    require(report.at.line >= 1 && report.at.column >= 1);
    require(report.word.size() <= kMaxWordLength && report.runLength >= report.word.size());
    check.lastOffset = report.offset;
}

std::string walkLevel(const uint8_t* data, size_t size, const LevelObserver* observer)
{
    CharSource text(reinterpret_cast<const char*>(data), size);
    LevelReader reader(text, observer);
    std::string word;
    std::string read;
    LevelHeader header = LevelHeader::Objects;
    while (reader.nextWord(word)) {
        requireWord(word);
        read += word;
        if (findHeader(word, header)) {
            readRecord(reader, header, read);
        }
    }
    require(text.taken() == size);
    return read;
}

void walkObserved(const uint8_t* data, size_t size)
{
    ReportCheck check{size, 0};
    const LevelObserver observer{&check, checkReport};
    require(walkLevel(data, size, nullptr) == walkLevel(data, size, &observer));
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<Diagnostic> diagnostics;
    LevelWalk(text, "Level.txt").run(diagnostics);
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
    walkObserved(data, size);
    compareWithLibrary(data, size);
    return 0;
}
