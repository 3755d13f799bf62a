#include "level/LevelReader.h"

#include "level/FormattedRead.h"

#include <cstring>
#include <initializer_list>

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

constexpr int kTileSteps = 4;
constexpr int kLineSteps = 6;
constexpr int kArcSteps = 5;
constexpr int kPlayerSteps = 4;

// True when `key` is one of the spellings.
bool isKey(const std::string& key, std::initializer_list<const char*> spellings)
{
    for (const char* spelling : spellings) {
        if (key == spelling) {
            return true;
        }
    }
    return false;
}

} // namespace

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

LevelReader::LevelReader(CharSource& text) : source(text) {}

bool LevelReader::nextWord(std::string& word)
{
    if (!readWord(source, word)) {
        return false;
    }
    word.resize(std::strlen(word.c_str()));
    return true;
}

bool LevelReader::readFloats(float& first, float& second)
{
    return readFloat(source, first) && readFloat(source, second);
}

bool LevelReader::readLowByte(uint8_t& bits)
{
    int32_t number = 0;
    if (!readInt(source, number)) {
        return false;
    }
    bits = static_cast<uint8_t>(static_cast<uint32_t>(number) & 0xFFu);
    return true;
}

PictureRecord LevelReader::readPicture()
{
    PictureRecord record;
    nextWord(record.fileName);
    return record;
}

SizeRecord LevelReader::readSize()
{
    SizeRecord record;
    readFloats(record.width, record.height);
    return record;
}

TileRecord LevelReader::readTile()
{
    TileRecord record;
    std::string key;
    for (int step = 0; step < kTileSteps && nextWord(key); ++step) {
        if (isKey(key, {"//Image", "//image"})) {
            nextWord(record.imageName);
        } else if (isKey(key, {"//Id", "//id"})) {
            readInt(source, record.id);
        } else if (isKey(key, {"//Vector", "//vector"})) {
            readFloats(record.x, record.y);
        } else if (isKey(key, {"//ImgId", "//imgid"})) {
            readInt(source, record.imageId);
        }
    }
    return record;
}

LineRecord LevelReader::readLine()
{
    LineRecord record;
    std::string key;
    for (int step = 0; step < kLineSteps && nextWord(key); ++step) {
        if (isKey(key, {"//X", "//x"})) {
            readFloat(source, record.x);
        } else if (isKey(key, {"//Y", "//y"})) {
            readFloat(source, record.y);
        } else if (isKey(key, {"//Dx", "//dx", "//DX"})) {
            readFloat(source, record.dx);
        } else if (isKey(key, {"//Dy", "//dy", "//DY"})) {
            readFloat(source, record.dy);
        } else if (isKey(key, {"//Type", "//type", "//TYPE"})) {
            readLowByte(record.type);
        } else if (isKey(key, {"//ID", "//id", "//Id"})) {
            readInt(source, record.id);
        }
    }
    return record;
}

ArcRecord LevelReader::readArc()
{
    ArcRecord record;
    std::string key;
    for (int step = 0; step < kArcSteps && nextWord(key); ++step) {
        if (isKey(key, {"//Position", "//Vector", "//vector"})) {
            readFloats(record.x, record.y);
        } else if (isKey(key, {"//Radius", "//radius"})) {
            readFloat(source, record.radius);
        } else if (isKey(key, {"//Sector", "//sector"})) {
            readLowByte(record.quadrant);
        } else if (isKey(key, {"//collision_stick", "//Collision_Stick", "//flag", "//Flag"})) {
            readLowByte(record.flag);
        } else if (isKey(key, {"//speed/distance", "//Speed/Distance"})) {
            readFloats(record.minSpeed, record.distance);
        }
    }
    return record;
}

PlayerRecord LevelReader::readPlayer()
{
    PlayerRecord record;
    std::string key;
    for (int step = 0; step < kPlayerSteps && nextWord(key); ++step) {
        if (isKey(key, {"//Hp", "//hp"})) {
            // A second number, when one follows, replaces the first.
            if (readInt(source, record.hp)) {
                readInt(source, record.hp);
            }
        } else if (isKey(key, {"//Ammo", "//ammo"})) {
            if (readInt(source, record.ammoG) && readInt(source, record.ammoF)) {
                readInt(source, record.ammoB);
            }
        } else if (isKey(key, {"//Score", "//score"})) {
            readInt(source, record.score);
        } else if (isKey(key, {"//GunType", "//guntype", "//Guntype"})) {
            // Two bytes raw: the first (normally the blank after the key) is dropped.
            char dropped = '\0';
            if (readChar(source, dropped)) {
                readChar(source, record.gunType);
            }
        }
    }
    return record;
}
