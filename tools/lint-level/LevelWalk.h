#pragma once

#include "level/LevelReader.h"
#include "tools/lint-level/Diagnostics.h"

#include <string>
#include <vector>

// A record as the game read it, and where it begins.
template <typename Record> struct Placed {
    Record record;
    TextPosition start;
};

// What a picture record names, and where.
struct PictureAt {
    std::string fileName;
    TextPosition nameAt;
    bool named = false; // false: the file ended before the name
};

// Everything the game builds from the text, for the checks of the world.
struct LevelContents {
    std::vector<Placed<PictureAt>> pictures;
    std::vector<Placed<LineRecord>> lines;
    std::vector<Placed<ArcRecord>> arcs;
    bool sized = false;
    Placed<SizeRecord> size; // the last "#_Size", which wins
    int records = 0;
};

// Reads a level text with the game's own reader, as the game walks it, and finds what reads
// differently from how it looks: words taken for notes, keys that spend steps, values that do
// not parse, values cut to 8 bits, records cut short, shapes that do nothing.
class LevelWalk {
public:
    LevelWalk(const std::string& text, const std::string& shownFile);

    // Walks the whole text. The findings go to `diagnostics`.
    LevelContents run(std::vector<Diagnostic>& diagnostics);

private:
    static void observe(void* walk, const ReadReport& report);
    void take(const ReadReport& report);
    void takeWord(const ReadReport& report);
    void takeKey(const ReadReport& report);
    void takeValue(const ReadReport& report);
    void takeRecordEnd(const ReadReport& report);
    void checkRun(const ReadReport& report);
    void readRecord(LevelReader& reader, LevelHeader header, LevelContents& contents);
    void checkLine(const LineRecord& line);
    void checkArc(const ArcRecord& arc);
    void settlePending(const std::string& whatFollows);
    void warn(TextPosition at, const std::string& message, bool inRecord = true);
    std::string wordAt(std::size_t offset) const;

    const std::string& text;
    std::string shownFile;
    std::vector<Diagnostic>* found = nullptr;

    // The record being read.
    bool inRecord = false;
    LevelHeader header = LevelHeader::Objects;
    std::string headerWord;
    TextPosition start;
    TextPosition lastWordAt;
    std::string keyWord;
    std::vector<std::pair<LevelKey, TextPosition>> keysGiven;
    bool cutShort = false;
    PictureAt picture;

    // A finding that waits for what the reader does next to be told in full.
    bool pending = false;
    bool pendingValue = false; // the text of a failed value is read again next
    TextPosition pendingAt;
    std::string pendingMessage;
    std::string pendingRecord;  // "(record begins at ...)"
    bool rereadNext = false;    // the next key step rereads the text of a value that failed
    bool strayKeysTold = false; // keys among the notes since the last record have been told
};
