#include "level/LevelReader.h"

#include "level/FormattedRead.h"
#include "level/LevelKeys.h"

#include <cstring>

namespace {

constexpr int kTileSteps = 4;
constexpr int kLineSteps = 6;
constexpr int kArcSteps = 5;
constexpr int kPlayerSteps = 4;

} // namespace

LevelReader::LevelReader(CharSource& text, const LevelObserver* levelObserver)
    : source(text),
      observer(levelObserver != nullptr && levelObserver->report != nullptr ? levelObserver
                                                                            : nullptr)
{
}

void LevelReader::tell(const ReadReport& report) const
{
    observer->report(observer->context, report);
}

bool LevelReader::readPlainWord(std::string& word)
{
    if (!readWord(source, word)) {
        return false;
    }
    word.resize(std::strlen(word.c_str()));
    return true;
}

// Reads a word and tells the observer, with what `report` already holds and, given a key
// table, the key the word spells.
bool LevelReader::readWordFor(ReadReport& report, std::string& word,
                              LevelKey (*findKey)(const std::string&))
{
    skipLevelSpace(source);
    report.at = source.textPosition();
    report.offset = source.taken();
    if (!readPlainWord(word)) {
        return false;
    }
    if (findKey != nullptr) {
        report.key = findKey(word);
    }
    report.runLength = source.taken() - report.offset;
    report.word = word;
    tell(report);
    return true;
}

bool LevelReader::nextWord(std::string& word)
{
    if (observer == nullptr) {
        return readPlainWord(word);
    }
    ReadReport report;
    return readWordFor(report, word);
}

bool LevelReader::readName(LevelKey key, std::string& name)
{
    if (observer == nullptr) {
        return readPlainWord(name);
    }
    ReadReport report;
    report.event = ReadEvent::Name;
    report.key = key;
    return readWordFor(report, name);
}

bool LevelReader::readKey(int step, int steps, LevelKey (*findKey)(const std::string&),
                          LevelKey& key)
{
    if (observer == nullptr) {
        if (!readPlainWord(keyWord)) {
            return false;
        }
        key = findKey(keyWord);
        return true;
    }
    ReadReport report;
    report.event = ReadEvent::Key;
    report.step = step + 1;
    report.steps = steps;
    if (!readWordFor(report, keyWord, findKey)) {
        return false;
    }
    key = report.key;
    return true;
}

void LevelReader::endRecord(int stepsRead, int steps)
{
    if (observer == nullptr) {
        return;
    }
    ReadReport report;
    report.event = ReadEvent::RecordEnd;
    report.at = source.textPosition();
    report.offset = source.taken();
    report.step = stepsRead;
    report.steps = steps;
    tell(report);
}

// Takes the white space before a value, which the read would take anyway, so that the report
// can say where the value begins.
ReadReport LevelReader::valueReport(LevelKey key, int valueIndex)
{
    skipLevelSpace(source);
    ReadReport report;
    report.event = ReadEvent::Value;
    report.at = source.textPosition();
    report.offset = source.taken();
    report.key = key;
    report.valueIndex = valueIndex;
    report.endOfText = source.peek() == EOF;
    return report;
}

bool LevelReader::readFloatOf(LevelKey key, int valueIndex, float& value)
{
    if (observer == nullptr) {
        return readFloat(source, value);
    }
    ReadReport report = valueReport(key, valueIndex);
    report.parsed = readFloat(source, value);
    report.number = static_cast<double>(value);
    report.runLength = source.taken() - report.offset;
    tell(report);
    return report.parsed;
}

bool LevelReader::readIntOf(LevelKey key, int valueIndex, int32_t& value)
{
    if (observer == nullptr) {
        return readInt(source, value);
    }
    ReadReport report = valueReport(key, valueIndex);
    report.parsed = readInt(source, value);
    report.number = value;
    report.runLength = source.taken() - report.offset;
    tell(report);
    return report.parsed;
}

bool LevelReader::readFloats(LevelKey key, float& first, float& second)
{
    return readFloatOf(key, 0, first) && readFloatOf(key, 1, second);
}

bool LevelReader::readLowByte(LevelKey key, uint8_t& bits)
{
    int32_t number = 0;
    if (!readIntOf(key, 0, number)) {
        return false;
    }
    bits = static_cast<uint8_t>(static_cast<uint32_t>(number) & 0xFFu);
    return true;
}

// Two bytes raw: the first (normally the blank after the key) is dropped.
bool LevelReader::readGunType(char& gunType)
{
    char dropped = '\0';
    const bool gotDropped = readChar(source, dropped);
    if (observer == nullptr) {
        return gotDropped && readChar(source, gunType);
    }
    ReadReport report;
    report.event = ReadEvent::Value;
    report.at = source.textPosition();
    report.offset = source.taken();
    report.key = LevelKey::PlayerGunType;
    report.parsed = gotDropped && readChar(source, gunType);
    report.endOfText = !report.parsed;
    report.number = static_cast<unsigned char>(gunType);
    report.runLength = source.taken() - report.offset;
    tell(report);
    return report.parsed;
}

LevelRecord LevelReader::readRecord(LevelHeader header)
{
    LevelRecord record;
    record.header = header;
    switch (header) {
    case LevelHeader::Image: record.picture = readPicture(); break;
    case LevelHeader::Size: record.size = readSize(); break;
    case LevelHeader::TileList: record.tile = readTile(); break;
    case LevelHeader::CollisionVector: record.line = readLine(); break;
    case LevelHeader::CollisionArc: record.arc = readArc(); break;
    case LevelHeader::Player: record.player = readPlayer(); break;
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
    return record;
}

PictureRecord LevelReader::readPicture()
{
    PictureRecord record;
    readName(LevelKey::PictureName, record.fileName);
    return record;
}

SizeRecord LevelReader::readSize()
{
    SizeRecord record;
    readFloats(LevelKey::SizeValues, record.width, record.height);
    return record;
}

TileRecord LevelReader::readTile()
{
    TileRecord record;
    LevelKey key = LevelKey::None;
    int step = 0;
    for (; step < kTileSteps && readKey(step, kTileSteps, tileKey, key); ++step) {
        switch (key) {
        case LevelKey::TileImage: readName(key, record.imageName); break;
        case LevelKey::TileId: readIntOf(key, 0, record.id); break;
        case LevelKey::TileVector: readFloats(key, record.x, record.y); break;
        case LevelKey::TileImageId: readIntOf(key, 0, record.imageId); break;
        default: break;
        }
    }
    endRecord(step, kTileSteps);
    return record;
}

LineRecord LevelReader::readLine()
{
    LineRecord record;
    LevelKey key = LevelKey::None;
    int step = 0;
    for (; step < kLineSteps && readKey(step, kLineSteps, lineKey, key); ++step) {
        switch (key) {
        case LevelKey::LineX: readFloatOf(key, 0, record.x); break;
        case LevelKey::LineY: readFloatOf(key, 0, record.y); break;
        case LevelKey::LineDx: readFloatOf(key, 0, record.dx); break;
        case LevelKey::LineDy: readFloatOf(key, 0, record.dy); break;
        case LevelKey::LineType: readLowByte(key, record.type); break;
        case LevelKey::LineId: readIntOf(key, 0, record.id); break;
        default: break;
        }
    }
    endRecord(step, kLineSteps);
    return record;
}

ArcRecord LevelReader::readArc()
{
    ArcRecord record;
    LevelKey key = LevelKey::None;
    int step = 0;
    for (; step < kArcSteps && readKey(step, kArcSteps, arcKey, key); ++step) {
        switch (key) {
        case LevelKey::ArcCentre: readFloats(key, record.x, record.y); break;
        case LevelKey::ArcRadius: readFloatOf(key, 0, record.radius); break;
        case LevelKey::ArcSector: readLowByte(key, record.quadrant); break;
        case LevelKey::ArcFlag: readLowByte(key, record.flag); break;
        case LevelKey::ArcSpeedDistance: readFloats(key, record.minSpeed, record.distance); break;
        default: break;
        }
    }
    endRecord(step, kArcSteps);
    return record;
}

PlayerRecord LevelReader::readPlayer()
{
    PlayerRecord record;
    LevelKey key = LevelKey::None;
    int step = 0;
    for (; step < kPlayerSteps && readKey(step, kPlayerSteps, playerKey, key); ++step) {
        switch (key) {
        case LevelKey::PlayerHp:
            // A second number, when one follows, replaces the first.
            if (readIntOf(key, 0, record.hp)) {
                readIntOf(key, 1, record.hp);
            }
            break;
        case LevelKey::PlayerAmmo:
            if (readIntOf(key, 0, record.ammoG) && readIntOf(key, 1, record.ammoF)) {
                readIntOf(key, 2, record.ammoB);
            }
            break;
        case LevelKey::PlayerScore: readIntOf(key, 0, record.score); break;
        case LevelKey::PlayerGunType: readGunType(record.gunType); break;
        default: break;
        }
    }
    endRecord(step, kPlayerSteps);
    return record;
}
