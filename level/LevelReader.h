#pragma once

#include "level/CharSource.h"
#include "level/LevelKeys.h"
#include "level/LevelObserver.h"

#include <cstdint>
#include <string>

// A picture placed in the world.
struct PictureRecord {
    std::string fileName;
};

// The world's size.
struct SizeRecord {
    float width = 0.0f;
    float height = 0.0f;
};

// A tile description: only echoed, nothing is built from it.
struct TileRecord {
    std::string imageName;
    int32_t id = 0;
    float x = 0.0f;
    float y = 0.0f;
    int32_t imageId = 0;
};

// A collision line: start point, extent, side bits (low 8 bits of the number) and id.
struct LineRecord {
    float x = 0.0f;
    float y = 0.0f;
    float dx = 0.0f;
    float dy = 0.0f;
    uint8_t type = 0;
    int32_t id = 0;
};

// A collision arc: centre, radius, quarter and behaviour bits, minimum speed, ring width.
struct ArcRecord {
    float x = 0.0f;
    float y = 0.0f;
    float radius = 0.0f;
    uint8_t quadrant = 0;
    uint8_t flag = 0;
    float minSpeed = 0.0f;
    float distance = 0.0f;
};

// A player description: only echoed, the world's player keeps its own values.
struct PlayerRecord {
    int32_t hp = 0;
    int32_t ammoG = 0;
    int32_t ammoF = 0;
    int32_t ammoB = 0;
    int32_t score = 0;
    char gunType = '\0';
};

// One record of a level text: its header and what was read for it. Only the member of its
// header is filled; "#_Objects" and "#_Events" records hold nothing.
struct LevelRecord {
    LevelHeader header = LevelHeader::Objects;
    PictureRecord picture;
    SizeRecord size;
    TileRecord tile;
    LineRecord line;
    ArcRecord arc;
    PlayerRecord player;
};

// Reads a level text as a stream of words: the words between records, and the records that
// follow their headers. A keyed record is a fixed number of key steps; each step reads one word
// and, when it is one of the record's keys, that key's values right after it. A word that is
// no key spends its step. A value that does not parse stays as it was and is read again as the
// next key; a key with several values stops at the first one that does not parse. A record cut
// short by the end of the text keeps zeros (and empty names) for what is missing.
//
// Words are kept as the game compares and prints them: at most 254 bytes, and ending at the
// first NUL byte if the run holds one.
//
// An observer, when one is given, is told every word, key step and value as it is read; the
// reading itself is the same with or without one.
class LevelReader {
public:
    explicit LevelReader(CharSource& text, const LevelObserver* observer = nullptr);

    // The next word of the text; false at its end.
    bool nextWord(std::string& word);

    // The record that follows a header word just read.
    LevelRecord readRecord(LevelHeader header);

private:
    PictureRecord readPicture();
    SizeRecord readSize();
    TileRecord readTile();
    LineRecord readLine();
    ArcRecord readArc();
    PlayerRecord readPlayer();

    bool readPlainWord(std::string& word);
    bool readWordFor(ReadReport& report, std::string& word,
                     LevelKey (*findKey)(const std::string&) = nullptr);
    bool readName(LevelKey key, std::string& name);
    bool readKey(int step, int steps, LevelKey (*findKey)(const std::string&), LevelKey& key);
    void endRecord(int stepsRead, int steps);
    ReadReport valueReport(LevelKey key, int valueIndex);
    bool readFloatOf(LevelKey key, int valueIndex, float& value);
    bool readIntOf(LevelKey key, int valueIndex, int32_t& value);
    bool readFloats(LevelKey key, float& first, float& second);
    bool readLowByte(LevelKey key, uint8_t& bits);
    bool readGunType(char& gunType);
    void tell(const ReadReport& report) const;

    CharSource& source;
    const LevelObserver* observer = nullptr;
    std::string keyWord; // the word of the key step being read
};
