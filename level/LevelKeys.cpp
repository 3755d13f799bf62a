#include "level/LevelKeys.h"

#include <iterator>

namespace {

struct HeaderWord {
    const char* word;
    LevelHeader header;
};

const HeaderWord kHeaders[] = {
    {"#_Image", LevelHeader::Image},          {"#_Size", LevelHeader::Size},
    {"#_TList", LevelHeader::TileList},       {"#_CollVec", LevelHeader::CollisionVector},
    {"#_CollArc", LevelHeader::CollisionArc}, {"#_Objects", LevelHeader::Objects},
    {"#_Events", LevelHeader::Events},        {"#_Player", LevelHeader::Player},
};

struct KeySpelling {
    const char* word;
    LevelKey key;
};

const KeySpelling kTileKeys[] = {
    {"//Image", LevelKey::TileImage},   {"//image", LevelKey::TileImage},
    {"//Id", LevelKey::TileId},         {"//id", LevelKey::TileId},
    {"//Vector", LevelKey::TileVector}, {"//vector", LevelKey::TileVector},
    {"//ImgId", LevelKey::TileImageId}, {"//imgid", LevelKey::TileImageId},
};

const KeySpelling kLineKeys[] = {
    {"//X", LevelKey::LineX},       {"//x", LevelKey::LineX},       {"//Y", LevelKey::LineY},
    {"//y", LevelKey::LineY},       {"//Dx", LevelKey::LineDx},     {"//dx", LevelKey::LineDx},
    {"//DX", LevelKey::LineDx},     {"//Dy", LevelKey::LineDy},     {"//dy", LevelKey::LineDy},
    {"//DY", LevelKey::LineDy},     {"//Type", LevelKey::LineType}, {"//type", LevelKey::LineType},
    {"//TYPE", LevelKey::LineType}, {"//ID", LevelKey::LineId},     {"//id", LevelKey::LineId},
    {"//Id", LevelKey::LineId},
};

const KeySpelling kArcKeys[] = {
    {"//Position", LevelKey::ArcCentre},
    {"//Vector", LevelKey::ArcCentre},
    {"//vector", LevelKey::ArcCentre},
    {"//Radius", LevelKey::ArcRadius},
    {"//radius", LevelKey::ArcRadius},
    {"//Sector", LevelKey::ArcSector},
    {"//sector", LevelKey::ArcSector},
    {"//collision_stick", LevelKey::ArcFlag},
    {"//Collision_Stick", LevelKey::ArcFlag},
    {"//flag", LevelKey::ArcFlag},
    {"//Flag", LevelKey::ArcFlag},
    {"//speed/distance", LevelKey::ArcSpeedDistance},
    {"//Speed/Distance", LevelKey::ArcSpeedDistance},
};

const KeySpelling kPlayerKeys[] = {
    {"//Hp", LevelKey::PlayerHp},           {"//hp", LevelKey::PlayerHp},
    {"//Ammo", LevelKey::PlayerAmmo},       {"//ammo", LevelKey::PlayerAmmo},
    {"//Score", LevelKey::PlayerScore},     {"//score", LevelKey::PlayerScore},
    {"//GunType", LevelKey::PlayerGunType}, {"//guntype", LevelKey::PlayerGunType},
    {"//Guntype", LevelKey::PlayerGunType},
};

// The key that `word` spells in the table, matched exactly; None for any other word.
template <std::size_t count>
LevelKey findIn(const std::string& word, const KeySpelling (&keys)[count])
{
    for (const KeySpelling& spelling : keys) {
        if (word == spelling.word) {
            return spelling.key;
        }
    }
    return LevelKey::None;
}

const char* const kKeyNames[] = {
    "None",        "PictureName", "SizeValues",  "TileImage",     "TileId",  "TileVector",
    "TileImageId", "LineX",       "LineY",       "LineDx",        "LineDy",  "LineType",
    "LineId",      "ArcCentre",   "ArcRadius",   "ArcSector",     "ArcFlag", "ArcSpeedDistance",
    "PlayerHp",    "PlayerAmmo",  "PlayerScore", "PlayerGunType",
};

} // namespace

LevelKey tileKey(const std::string& word) { return findIn(word, kTileKeys); }
LevelKey lineKey(const std::string& word) { return findIn(word, kLineKeys); }
LevelKey arcKey(const std::string& word) { return findIn(word, kArcKeys); }
LevelKey playerKey(const std::string& word) { return findIn(word, kPlayerKeys); }

const char* levelKeyName(LevelKey key)
{
    const auto index = static_cast<std::size_t>(key);
    return index < std::size(kKeyNames) ? kKeyNames[index] : "None";
}

const char* headerWord(LevelHeader header)
{
    for (const HeaderWord& entry : kHeaders) {
        if (entry.header == header) {
            return entry.word;
        }
    }
    return "";
}

bool findHeader(const std::string& word, LevelHeader& header)
{
    for (const HeaderWord& entry : kHeaders) {
        if (word == entry.word) {
            header = entry.header;
            return true;
        }
    }
    return false;
}
