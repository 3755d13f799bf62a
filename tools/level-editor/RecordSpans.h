#pragma once

#include "level/LevelReader.h"

#include <cstddef>
#include <string>
#include <vector>

// Where one value of a key stands in the text, and what the reader made of it.
struct ValueSpan {
    std::size_t from = 0;
    std::size_t to = 0;
    bool parsed = false;
    bool endOfText = false;
    double number = 0.0;
    std::string name; // a name's text (a picture or tile file name), for a name
    bool isName = false;
};

// A key step of a record: the key word (for "#_Image" and "#_Size", the header, which stands
// for their key) and its values.
struct KeySpan {
    LevelKey key = LevelKey::None;
    std::size_t from = 0;
    std::size_t to = 0;
    std::vector<ValueSpan> values;
};

// One record: its header, the bytes from the header to the end of the last word or value the
// reader took for it, its keys, and what the game read.
struct RecordSpan {
    std::string headerWord;
    TextPosition at;
    std::size_t from = 0;
    std::size_t to = 0;
    std::vector<KeySpan> keys;
    bool named = false;
    std::size_t nameFrom = 0;
    std::size_t nameTo = 0;
    LevelRecord record;
};

// Listens to the game's reader (as its LevelObserver) and keeps where every record, key and
// value of the text stands.
class RecordSpans {
public:
    // Keeps the first `limit` records; later ones are only counted.
    explicit RecordSpans(std::size_t limit) : kept(limit) {}
    RecordSpans(const RecordSpans&) = delete;
    RecordSpans& operator=(const RecordSpans&) = delete;

    // The observer to hand to the reader; it reports to this object.
    const LevelObserver* observer() const { return &listener; }

    // The header word just read begins a record; `record` is then what the reader returned.
    void beginRecord(LevelHeader header);
    void endRecord(const LevelRecord& record);

    const std::vector<RecordSpan>& records() const { return spans; }
    std::size_t recordCount() const { return count; }

    // The record whose bytes hold `offset`, or -1.
    int recordAt(std::size_t offset) const;

private:
    static void observe(void* spans, const ReadReport& report);
    void take(const ReadReport& report);
    void reach(std::size_t end);

    LevelObserver listener{this, observe};
    std::vector<RecordSpan> spans;
    std::size_t kept = 0;
    std::size_t count = 0;
    bool inRecord = false;
    // The last word read between records: the header, when it is one.
    std::size_t wordFrom = 0;
    std::size_t wordTo = 0;
    TextPosition wordAt;
};
