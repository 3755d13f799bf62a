#pragma once

#include "tools/level-editor/RecordSpans.h"
#include "world/Game.h"

#include <memory>
#include <string>
#include <vector>

// The world as the game builds it from a level folder, and the record each shape comes from.
struct LevelScene {
    std::unique_ptr<Game> world;     // null when the game cannot build its own scene
    std::string failure;             // why the game would stop (a picture it cannot load), or ""
    std::vector<int> lineRecords;    // per line of the world: its record, or -1 (built in)
    std::vector<int> arcRecords;     // per arc of the world
    std::vector<int> pictureRecords; // per entity of the level's picture list
    int cutAt = -1; // the first record not applied when the level has too many, or -1
};

// The records applied to the world and described at most: enough for any level an author
// draws, and a bound on the time and memory that a text of a million records may take.
constexpr int kSceneRecordLimit = 20000;

// Builds the world headless in `folder` as a fresh run of the game does (ids from 0, the
// random sequence from its start, the game's log muted), then reads `text` with the game's own
// reader and applies every record as the game's loader does, until a picture cannot be loaded
// (the game stops there; the rest is still read for `spans`). Without a text (no Level.txt)
// the world keeps its built-in scene. Records after the first kSceneRecordLimit are read but
// not applied (cutAt says where); `spans` is made to keep as many.
LevelScene readScene(const std::string& folder, const std::string* text, RecordSpans& spans);
