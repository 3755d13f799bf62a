#pragma once

#include "level/LevelObserver.h"

#include <string>

// The eight headers of a level text. Each introduces exactly one record.
enum class LevelHeader {
    Image,           // "#_Image": a picture placed in the world
    Size,            // "#_Size": the world's width and height
    TileList,        // "#_TList": a tile description (4 key steps)
    CollisionVector, // "#_CollVec": a collision line (6 key steps)
    CollisionArc,    // "#_CollArc": a collision arc (5 key steps)
    Objects,         // "#_Objects": nothing
    Events,          // "#_Events": nothing
    Player,          // "#_Player": a player description (4 key steps)
};

// The header that `word` is, matched exactly and case-sensitively; false for any other word.
bool findHeader(const std::string& word, LevelHeader& header);

// The header's word: "#_CollVec" for CollisionVector.
const char* headerWord(LevelHeader header);

// The key that `word` spells in a record of each kind, matched exactly and case-sensitively;
// None for any other word.
LevelKey tileKey(const std::string& word);
LevelKey lineKey(const std::string& word);
LevelKey arcKey(const std::string& word);
LevelKey playerKey(const std::string& word);

// The key's name as the enumeration spells it: "LineX" for LevelKey::LineX.
const char* levelKeyName(LevelKey key);
