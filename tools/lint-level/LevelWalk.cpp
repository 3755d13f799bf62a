#include "tools/lint-level/LevelWalk.h"

#include "level/FormattedRead.h"

#include <cmath>
#include <cstdlib>

namespace {

// How many values a key reads, when it reads more than one.
int valueCount(LevelKey key)
{
    switch (key) {
    case LevelKey::SizeValues:
    case LevelKey::TileVector:
    case LevelKey::ArcCentre:
    case LevelKey::ArcSpeedDistance: return 2;
    case LevelKey::PlayerAmmo: return 3;
    default: return 1;
    }
}

const char* valueName(LevelKey key, int index)
{
    switch (key) {
    case LevelKey::SizeValues: return index == 0 ? "width" : "height";
    case LevelKey::TileId: return "tile id";
    case LevelKey::TileVector:
    case LevelKey::LineX: return index == 0 ? "x" : "y";
    case LevelKey::TileImageId: return "picture id";
    case LevelKey::LineY: return "y";
    case LevelKey::LineDx: return "dx";
    case LevelKey::LineDy: return "dy";
    case LevelKey::LineType: return "type";
    case LevelKey::LineId: return "id";
    case LevelKey::ArcCentre: return index == 0 ? "centre x" : "centre y";
    case LevelKey::ArcRadius: return "radius";
    case LevelKey::ArcSector: return "sector bits";
    case LevelKey::ArcFlag: return "flag bits";
    case LevelKey::ArcSpeedDistance: return index == 0 ? "minimum speed" : "distance";
    case LevelKey::PlayerHp: return "hit points";
    case LevelKey::PlayerAmmo:
        return index == 0 ? "G ammunition" : index == 1 ? "F ammunition" : "B ammunition";
    case LevelKey::PlayerScore: return "score";
    case LevelKey::PlayerGunType: return "gun type";
    default: return "value";
    }
}

bool keepsLowByte(LevelKey key)
{
    return key == LevelKey::LineType || key == LevelKey::ArcSector || key == LevelKey::ArcFlag;
}

const char* spaceName(int byte)
{
    switch (byte) {
    case ' ': return "a blank";
    case '\t': return "a tab";
    case '\n': return "a line end";
    case '\r': return "a carriage return";
    default: return "white space";
    }
}

const char* const kHeaderWords[] = {"#_Image",   "#_Size",    "#_TList",  "#_CollVec",
                                    "#_CollArc", "#_Objects", "#_Events", "#_Player"};

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const std::string& word, const char* header)
{
    std::size_t index = 0;
    for (; header[index] != '\0'; ++index) {
        if (index == word.size() || lowerCase(word[index]) != lowerCase(header[index])) {
            return false;
        }
    }
    return index == word.size();
}

// The header that `word` spells in another case, or null.
const char* headerInOtherCase(const std::string& word)
{
    for (const char* header : kHeaderWords) {
        if (sameIgnoringCase(word, header)) {
            return header;
        }
    }
    return nullptr;
}

} // namespace

LevelWalk::LevelWalk(const std::string& levelText, const std::string& shown)
    : text(levelText), shownFile(shown)
{
}

LevelContents LevelWalk::run(std::vector<Diagnostic>& diagnostics)
{
    found = &diagnostics;
    CharSource source(text.data(), text.size());
    const LevelObserver observer{this, observe};
    LevelReader reader(source, &observer);
    LevelContents contents;
    std::string word;
    while (reader.nextWord(word)) {
        LevelHeader section = LevelHeader::Objects;
        if (findHeader(word, section)) {
            headerWord = word;
            readRecord(reader, section, contents);
        }
    }
    settlePending("");
    return contents;
}

void LevelWalk::observe(void* walk, const ReadReport& report)
{
    static_cast<LevelWalk*>(walk)->take(report);
}

void LevelWalk::take(const ReadReport& report)
{
    switch (report.event) {
    case ReadEvent::Word: takeWord(report); break;
    case ReadEvent::Key: takeKey(report); break;
    case ReadEvent::Name:
        checkRun(report);
        if (report.key == LevelKey::PictureName) {
            picture.fileName = std::string(report.word);
            picture.nameAt = report.at;
            picture.named = true;
        }
        break;
    case ReadEvent::Value: takeValue(report); break;
    case ReadEvent::RecordEnd: takeRecordEnd(report); break;
    }
}

void LevelWalk::readRecord(LevelReader& reader, LevelHeader section, LevelContents& contents)
{
    inRecord = true;
    strayKeysTold = false;
    header = section;
    start = lastWordAt;
    keyWord = headerWord;
    keysGiven.clear();
    cutShort = false;
    picture = PictureAt{};
    ++contents.records;
    const LevelRecord record = reader.readRecord(section);
    switch (section) {
    case LevelHeader::Image: contents.pictures.push_back({picture, start}); break;
    case LevelHeader::Size:
        contents.size = {record.size, start};
        contents.sized = true;
        break;
    case LevelHeader::CollisionVector:
        contents.lines.push_back({record.line, start});
        checkLine(record.line);
        break;
    case LevelHeader::CollisionArc:
        contents.arcs.push_back({record.arc, start});
        checkArc(record.arc);
        break;
    case LevelHeader::TileList:
    case LevelHeader::Player:
    case LevelHeader::Objects:
    case LevelHeader::Events: break;
    }
    inRecord = false;
}

void LevelWalk::warn(TextPosition at, const std::string& message, bool aboutRecord)
{
    Diagnostic diagnostic;
    diagnostic.file = shownFile;
    diagnostic.at = at;
    diagnostic.message = message;
    if (aboutRecord) {
        diagnostic.message += " (record begins at " + describePosition(start) + ")";
    }
    found->push_back(diagnostic);
}

std::string LevelWalk::wordAt(std::size_t offset) const
{
    std::size_t end = offset;
    while (end < text.size() && end - offset < kMaxWordLength &&
           !isLevelSpace(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    return text.substr(offset, end - offset);
}

void LevelWalk::settlePending(const std::string& whatFollows)
{
    if (!pending) {
        return;
    }
    pending = false;
    warn(pendingAt, pendingMessage + whatFollows + pendingRecord, false);
}

void LevelWalk::checkRun(const ReadReport& report)
{
    if (report.runLength > kMaxWordLength) {
        warn(report.at,
             "this word is " + std::to_string(report.runLength) +
                 " characters long; the game keeps its first " + std::to_string(kMaxWordLength),
             inRecord);
    } else if (report.runLength > report.word.size()) {
        warn(report.at,
             "this word holds a NUL byte; the game keeps only the " +
                 std::to_string(report.word.size()) + " characters before it",
             inRecord);
    }
}

void LevelWalk::takeWord(const ReadReport& report)
{
    checkRun(report);
    const std::string word(report.word);
    rereadNext = false;
    LevelHeader section = LevelHeader::Objects;
    const bool isHeader = findHeader(word, section);
    settlePending("; " + quotedWord(word) +
                  (isHeader ? " begins the next record" : " is read as a note"));
    lastWordAt = report.at;
    if (isHeader) {
        return;
    }
    const char* meant = headerInOtherCase(word);
    if (meant != nullptr) {
        warn(report.at,
             quotedWord(word) + " is no header (headers match case: '" + meant +
                 "'); it and all up to the next header are notes",
             false);
        strayKeysTold = true;
    } else if (word.rfind("#_", 0) == 0) {
        warn(report.at,
             quotedWord(word) + " is no header; it and all up to the next header are notes", false);
        strayKeysTold = true;
    } else if (word.rfind("//", 0) == 0 && !strayKeysTold) {
        // One finding for a stretch of keys among the notes: the first of them.
        warn(report.at,
             quotedWord(word) + " stands outside any record: it and its values are notes", false);
        strayKeysTold = true;
    }
}

void LevelWalk::takeKey(const ReadReport& report)
{
    checkRun(report);
    const std::string word(report.word);
    const std::string step = std::to_string(report.step);
    const std::string steps = std::to_string(report.steps);
    const bool reread = rereadNext;
    rereadNext = false;
    if (pending && pendingValue) {
        settlePending("; " + quotedWord(word) + " is read as key step " + step + " of " + steps);
    } else {
        settlePending(", so " + quotedWord(word) + " is read as step " + step);
    }
    if (report.key == LevelKey::None) {
        if (reread) {
            return; // the text of the value that failed: already told
        }
        LevelHeader section = LevelHeader::Objects;
        const std::string inside =
            findHeader(word, section) ? " (a header inside a record begins nothing)" : "";
        const std::string message = quotedWord(word) + " is not a key of " + headerWord + inside +
                                    "; it spends key step " + step + " of " + steps;
        const std::string record = " (record begins at " + describePosition(start) + ")";
        if (report.step == report.steps) {
            warn(report.at, message + ", the last one, so the record ends here");
            return;
        }
        pending = true;
        pendingValue = false;
        pendingAt = report.at;
        pendingMessage = message;
        pendingRecord = record;
        return;
    }
    keyWord = word;
    for (const auto& given : keysGiven) {
        if (given.first == report.key) {
            warn(report.at, quotedWord(word) + " is given twice in this " + headerWord +
                                " (first at " + describePosition(given.second) +
                                "); the later value wins");
            return;
        }
    }
    keysGiven.emplace_back(report.key, report.at);
}

void LevelWalk::takeValue(const ReadReport& report)
{
    const std::string name = valueName(report.key, report.valueIndex);
    const std::string of = "the " + name + " of " + quotedWord(keyWord);
    if (!report.parsed) {
        if (report.key == LevelKey::PlayerHp && report.valueIndex == 1) {
            return; // the second number of "//Hp" is only tried
        }
        if (report.endOfText) {
            cutShort = true;
            warn(report.at, "the file ends before " + of + "; it stays 0");
            return;
        }
        std::string message = quotedWord(keyWord) + " reads no " + name + " from " +
                              quotedWord(wordAt(report.offset)) + " (not a number): it stays 0";
        if (report.valueIndex + 1 < valueCount(report.key)) {
            message += ", as do the values after it";
        }
        pending = true;
        pendingValue = true;
        pendingAt = report.at;
        pendingMessage = message;
        pendingRecord = " (record begins at " + describePosition(start) + ")";
        rereadNext = true;
        return;
    }
    if (report.key == LevelKey::PlayerGunType) {
        const int byte = static_cast<int>(report.number);
        if (isLevelSpace(byte)) {
            warn(report.at, std::string("the gun type is ") + spaceName(byte) + ": " +
                                quotedWord(keyWord) +
                                " drops one character and takes the next raw");
        }
        return;
    }
    const std::string written = quotedWord(wordAt(report.offset));
    if (std::isnan(report.number)) {
        warn(report.at, written + " reads as NaN: " + of + " is no number");
    } else if (std::isinf(report.number)) {
        warn(report.at, written + " reads as infinity: " + of + " is no finite number");
    } else if (keepsLowByte(report.key)) {
        // As written, before the read keeps 32 bits of it (4294967298 reads as 2).
        const long long writtenNumber = std::strtoll(wordAt(report.offset).c_str(), nullptr, 10);
        if (writtenNumber < 0 || writtenNumber > 255) {
            const auto kept = static_cast<uint32_t>(static_cast<int32_t>(report.number)) & 0xFFu;
            warn(report.at,
                 name + " " + std::to_string(writtenNumber) +
                     " is outside 0 to 255; only the low 8 bits are kept: " + std::to_string(kept));
        }
    }
}

void LevelWalk::takeRecordEnd(const ReadReport& report)
{
    if (pending && !pendingValue) {
        settlePending("");
    }
    if (report.step < report.steps && !cutShort) {
        const bool built =
            header == LevelHeader::CollisionVector || header == LevelHeader::CollisionArc;
        warn(start, "the file ends after key step " + std::to_string(report.step) + " of " +
                        std::to_string(report.steps) + "; the rest stays 0 and the record is " +
                        (built ? "built" : "echoed") + " as it is");
    }
}

void LevelWalk::checkLine(const LineRecord& line)
{
    if (line.dx == 0.0f && line.dy == 0.0f) {
        warn(start, "this line has no length (dx and dy are 0): nothing ever touches it");
    }
}

void LevelWalk::checkArc(const ArcRecord& arc)
{
    if (arc.radius <= 0.0f) {
        warn(start,
             "the arc's radius " + numberText(arc.radius) + " is not above 0: it stops nothing");
    }
    if ((arc.flag & 16u) != 0 && arc.distance <= 0.0f) {
        warn(start, "the attraction ring (flag 16) has distance " + numberText(arc.distance) +
                        ": it pulls nothing");
    }
}
