#pragma once

#include "level/CharSource.h"

#include <cstddef>
#include <string_view>

// The keys of the level's records, each standing for all of its spellings ("//Dx", "//dx" and
// "//DX" are all LineDx). PictureName and SizeValues stand for the words that follow "#_Image"
// and "#_Size", which have no key of their own.
enum class LevelKey {
    None, // a word that is no key of its record: it spends its step
    PictureName,
    SizeValues,
    TileImage,
    TileId,
    TileVector,
    TileImageId,
    LineX,
    LineY,
    LineDx,
    LineDy,
    LineType,
    LineId,
    ArcCentre,
    ArcRadius,
    ArcSector,
    ArcFlag,
    ArcSpeedDistance,
    PlayerHp,
    PlayerAmmo,
    PlayerScore,
    PlayerGunType,
};

// What the reader has just done.
enum class ReadEvent {
    Word,      // read a word between records (a header among them)
    Key,       // read the word of a key step, a key of the record or not
    Name,      // read a name: a picture's or a tile's file name
    Value,     // tried to read one value of a key
    RecordEnd, // finished a keyed record
};

// One report of the reader. Which fields mean something depends on the event.
struct ReadReport {
    ReadEvent event = ReadEvent::Word;
    TextPosition at;           // where the word or value begins; RecordEnd: where reading stopped
    std::size_t offset = 0;    // bytes of the text before `at`
    std::string_view word;     // Word, Key, Name: the word as the game keeps it
    std::size_t runLength = 0; // Word, Key, Name: bytes of the run in the text (more when cut);
                               // Value: bytes the read took (a failed one may take some)
    int step = 0;              // Key: the step, from 1; RecordEnd: the steps read
    int steps = 0;             // Key, RecordEnd: the steps of the record
    LevelKey key = LevelKey::None; // Key, Value, Name
    int valueIndex = 0;            // Value: which value of the key, from 0
    bool parsed = false;           // Value: whether it was read (false: it stays as it was)
    bool endOfText = false;        // Value: whether the text ended before it
    double number = 0.0;           // Value: what was read, before an integer is cut to 8 bits
};

// Who is told what the reader does: a function and the context it is handed back. The game
// leaves it empty and its reading is then exactly what it is without one.
struct LevelObserver {
    void* context = nullptr;
    void (*report)(void* context, const ReadReport& report) = nullptr;
};
