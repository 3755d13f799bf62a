#include "level/FormattedRead.h"
#include "level/LevelReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// What a formatted read left behind: whether it converted, the value, and the rest of the
// text that it did not take.
struct ReadOutcome {
    bool converted = false;
    std::string value;
    std::string rest;
};

std::string floatText(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%a", static_cast<double>(value));
    return text;
}

std::string restOf(std::FILE* file)
{
    std::string rest;
    for (int byte = std::fgetc(file); byte != EOF; byte = std::fgetc(file)) {
        rest += static_cast<char>(byte);
    }
    return rest;
}

std::string restOf(CharSource& source)
{
    std::string rest;
    for (int byte = source.take(); byte != EOF; byte = source.take()) {
        rest += static_cast<char>(byte);
    }
    return rest;
}

// The C library's own reading of `text` with `format` ("%f", "%d" or "%254s").
ReadOutcome libraryRead(const std::string& text, const char* format)
{
    ReadOutcome outcome;
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        ADD_FAILURE() << "A temporary file could not be made.";
        return outcome;
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    if (std::strcmp(format, "%f") == 0) {
        float value = -7.0f;
        outcome.converted = std::fscanf(file, "%f", &value) == 1;
        outcome.value = floatText(value);
    } else if (std::strcmp(format, "%d") == 0) {
        int value = -7;
        outcome.converted = std::fscanf(file, "%d", &value) == 1;
        outcome.value = std::to_string(value);
    } else {
        char word[255] = "unchanged";
        int taken = 0;
        int start = 0;
        outcome.converted = std::fscanf(file, " %n%254s%n", &start, word, &taken) == 1;
        outcome.value = outcome.converted ? std::string(word, taken - start) : "unchanged";
    }
    outcome.rest = restOf(file);
    std::fclose(file);
    return outcome;
}

// Our reading of the same text with the read that stands for `format`.
ReadOutcome levelRead(const std::string& text, const char* format)
{
    ReadOutcome outcome;
    CharSource source(text.data(), text.size());
    if (std::strcmp(format, "%f") == 0) {
        float value = -7.0f;
        outcome.converted = readFloat(source, value);
        outcome.value = floatText(value);
    } else if (std::strcmp(format, "%d") == 0) {
        int32_t value = -7;
        outcome.converted = readInt(source, value);
        outcome.value = std::to_string(value);
    } else {
        std::string word = "unchanged";
        outcome.converted = readWord(source, word);
        outcome.value = word;
    }
    outcome.rest = restOf(source);
    return outcome;
}

void expectSameAsLibrary(const std::string& text, const char* format)
{
    const ReadOutcome expected = libraryRead(text, format);
    const ReadOutcome actual = levelRead(text, format);
    EXPECT_EQ(actual.converted, expected.converted) << format << " on [" << text << "]";
    EXPECT_EQ(actual.value, expected.value) << format << " on [" << text << "]";
    EXPECT_EQ(actual.rest, expected.rest) << format << " on [" << text << "]";
}

TEST(FormattedRead, TakesExactlyWhatTheLibraryTakesOnHandPickedNumbers)
{
    // clang-format off
    const char* const texts[] = {
        "12abc", "1ex", "1e+x", "1e+5x", "-x", "+", "-", "", "   ", " \t\r\n\v\f7", "nax",
        "nan", "NaN(abc)", "nan(", "-nan", "inx", "infx", "inf", "INFINITYx", "infinx",
        "infinit", "0x", "0xg", "-0x", "+0xz", "0x1p", "0x1p3", "0x.p1", "0x.8", "0X1P-2z",
        "0xe+1", "0x1.g", "0xp", ".", ".5", "5.", ".e5", "-.", "0e", "00x5", "1e5e", "1e5.3",
        "1.2.3", "--5", "+-5", "-0", "1e39", "-1e39", "1e-50", "1e-45", "0x1p128", "1,5",
        "e5", "+.5", "0.0.", "1e-x", "007", "2147483647", "2147483648", "4294967295",
        "4294967298", "-2147483649", "99999999999999999999", "-99999999999999999999",
        "258", "-1", "1.5", "+5", "//X", "Vector 100 200", "12\r\n",
    };
    // clang-format on
    for (const char* text : texts) {
        expectSameAsLibrary(text, "%f");
        expectSameAsLibrary(text, "%d");
        expectSameAsLibrary(text, "%s");
    }
}

TEST(FormattedRead, TakesExactlyWhatTheLibraryTakesOnRandomText)
{
    // Texts built from the bytes that matter to the number reads, white space and a NUL.
    const std::string alphabet =
        std::string("0123456789+-.eExXpPaAfFiInNtTyY( )\t\r\n/#_z") + std::string(1, '\0');
    std::mt19937 random(20261206u);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        for (int count = length(random); count > 0; --count) {
            text += alphabet[pick(random)];
        }
        expectSameAsLibrary(text, "%f");
        expectSameAsLibrary(text, "%d");
        expectSameAsLibrary(text, "%s");
        if (HasFailure()) {
            return;
        }
    }
}

TEST(FormattedRead, CutsALongWordAndDropsTheRestOfItsRun)
{
    const std::string longWord(300, 'w');
    const std::string text = longWord + " next";
    CharSource source(text.data(), text.size());
    std::string word;
    ASSERT_TRUE(readWord(source, word));
    EXPECT_EQ(word, std::string(254, 'w'));
    ASSERT_TRUE(readWord(source, word));
    EXPECT_EQ(word, "next");
    EXPECT_FALSE(readWord(source, word));
    EXPECT_EQ(word, "next");
}

TEST(FormattedRead, SurvivesAOneMegabyteWord)
{
    const std::string text(1 << 20, 'x');
    CharSource source(text.data(), text.size());
    std::string word;
    ASSERT_TRUE(readWord(source, word));
    EXPECT_EQ(word.size(), kMaxWordLength);
    EXPECT_FALSE(readWord(source, word));
}

TEST(FormattedRead, TakesRawBytesWithoutSkippingWhiteSpace)
{
    const std::string text(" \nG", 3);
    CharSource source(text.data(), text.size());
    char byte = 'q';
    ASSERT_TRUE(readChar(source, byte));
    EXPECT_EQ(byte, ' ');
    ASSERT_TRUE(readChar(source, byte));
    EXPECT_EQ(byte, '\n');
    ASSERT_TRUE(readChar(source, byte));
    EXPECT_EQ(byte, 'G');
    EXPECT_FALSE(readChar(source, byte));
    EXPECT_EQ(byte, 'G');
}

TEST(FormattedRead, ReadsTheSameFromAnOpenFile)
{
    std::string text = "  -12.5e1x tail";
    std::FILE* file = fmemopen(text.data(), text.size(), "r");
    ASSERT_NE(file, nullptr);
    CharSource source(file);
    float value = 0.0f;
    ASSERT_TRUE(readFloat(source, value));
    EXPECT_EQ(value, -125.0f);
    std::string word;
    ASSERT_TRUE(readWord(source, word));
    EXPECT_EQ(word, "x");
    ASSERT_TRUE(readWord(source, word));
    EXPECT_EQ(word, "tail");
    EXPECT_FALSE(readWord(source, word));
    std::fclose(file);
}

// A reader over a text that stays alive as long as the reader.
class TextReader {
public:
    explicit TextReader(std::string contents)
        : text(std::move(contents)), source(text.data(), text.size()), reader(source)
    {
    }

    LevelReader& operator*() { return reader; }
    LevelReader* operator->() { return &reader; }

    std::string nextWord()
    {
        std::string word = "(end)";
        reader.nextWord(word);
        return word;
    }

private:
    std::string text;
    CharSource source;
    LevelReader reader;
};

TEST(LevelReader, KnowsTheEightHeadersExactlyAndCaseSensitively)
{
    const std::vector<std::pair<std::string, LevelHeader>> headers = {
        {"#_Image", LevelHeader::Image},          {"#_Size", LevelHeader::Size},
        {"#_TList", LevelHeader::TileList},       {"#_CollVec", LevelHeader::CollisionVector},
        {"#_CollArc", LevelHeader::CollisionArc}, {"#_Objects", LevelHeader::Objects},
        {"#_Events", LevelHeader::Events},        {"#_Player", LevelHeader::Player},
    };
    for (const auto& [word, expected] : headers) {
        LevelHeader found = LevelHeader::Objects;
        EXPECT_TRUE(findHeader(word, found)) << word;
        EXPECT_EQ(found, expected) << word;
    }
    LevelHeader unchanged = LevelHeader::Events;
    for (const char* word : {"#_collvec", "#_IMAGE", "#_Size:", "#_", "Size", ""}) {
        EXPECT_FALSE(findHeader(word, unchanged)) << word;
    }
    EXPECT_EQ(unchanged, LevelHeader::Events);
}

TEST(LevelReader, EndsAWordAtItsFirstNulByte)
{
    TextReader reader(std::string("#_Size\0junk next", 16));
    EXPECT_EQ(reader.nextWord(), "#_Size");
    EXPECT_EQ(reader.nextWord(), "next");
}

TEST(LevelReader, AcceptsEveryKeySpellingOfALine)
{
    const char* const spellings[][6] = {
        {"//X", "//Y", "//Dx", "//Dy", "//Type", "//ID"},
        {"//x", "//y", "//dx", "//dy", "//type", "//id"},
        {"//X", "//Y", "//DX", "//DY", "//TYPE", "//Id"},
    };
    for (const auto& keys : spellings) {
        TextReader reader(std::string(keys[0]) + " 1 " + keys[1] + " 2 " + keys[2] + " 3 " +
                          keys[3] + " 4 " + keys[4] + " 5 " + keys[5] + " 6 after");
        const LineRecord line = reader->readLine();
        EXPECT_EQ(line.x, 1.0f) << keys[0];
        EXPECT_EQ(line.y, 2.0f) << keys[1];
        EXPECT_EQ(line.dx, 3.0f) << keys[2];
        EXPECT_EQ(line.dy, 4.0f) << keys[3];
        EXPECT_EQ(line.type, 5) << keys[4];
        EXPECT_EQ(line.id, 6) << keys[5];
        EXPECT_EQ(reader.nextWord(), "after");
    }
}

TEST(LevelReader, AcceptsEveryKeySpellingOfAnArc)
{
    const char* const centres[] = {"//Position", "//Vector", "//vector"};
    const char* const radii[] = {"//Radius", "//radius"};
    const char* const sectors[] = {"//Sector", "//sector"};
    const char* const flags[] = {"//collision_stick", "//Collision_Stick", "//flag", "//Flag"};
    const char* const speeds[] = {"//speed/distance", "//Speed/Distance"};
    for (int variant = 0; variant < 4; ++variant) {
        TextReader reader(std::string(centres[variant % 3]) + " 1 2 " + radii[variant % 2] + " 3 " +
                          sectors[variant % 2] + " 4 " + flags[variant] + " 5 " +
                          speeds[variant % 2] + " 6 7 after");
        const ArcRecord arc = reader->readArc();
        EXPECT_EQ(arc.x, 1.0f);
        EXPECT_EQ(arc.y, 2.0f);
        EXPECT_EQ(arc.radius, 3.0f);
        EXPECT_EQ(arc.quadrant, 4);
        EXPECT_EQ(arc.flag, 5) << flags[variant];
        EXPECT_EQ(arc.minSpeed, 6.0f);
        EXPECT_EQ(arc.distance, 7.0f);
        EXPECT_EQ(reader.nextWord(), "after");
    }
}

TEST(LevelReader, AcceptsEveryKeySpellingOfATileAndAPlayer)
{
    for (const char* text : {"//Image a.bmp //Id 7 //Vector 1.5 -2 //ImgId 9 after",
                             "//image a.bmp //id 7 //vector 1.5 -2 //imgid 9 after"}) {
        TextReader reader(text);
        const TileRecord tile = reader->readTile();
        EXPECT_EQ(tile.imageName, "a.bmp");
        EXPECT_EQ(tile.id, 7);
        EXPECT_EQ(tile.x, 1.5f);
        EXPECT_EQ(tile.y, -2.0f);
        EXPECT_EQ(tile.imageId, 9);
        EXPECT_EQ(reader.nextWord(), "after");
    }
    for (const char* text : {"//Hp 5 //Ammo 1 2 3 //Score 8 //GunType G after",
                             "//hp 5 //ammo 1 2 3 //score 8 //guntype G after",
                             "//Hp 5 //Ammo 1 2 3 //Score 8 //Guntype G after"}) {
        TextReader reader(text);
        const PlayerRecord player = reader->readPlayer();
        EXPECT_EQ(player.hp, 5);
        EXPECT_EQ(player.ammoG, 1);
        EXPECT_EQ(player.ammoF, 2);
        EXPECT_EQ(player.ammoB, 3);
        EXPECT_EQ(player.score, 8);
        EXPECT_EQ(player.gunType, 'G');
        EXPECT_EQ(reader.nextWord(), "after");
    }
}

TEST(LevelReader, SpendsAStepOnAWordThatIsNoKey)
{
    TextReader reader("//X 10 //Y 20 //Foo //Dx 5 //Dy 6 //Type 1 //ID 9");
    const LineRecord line = reader->readLine();
    EXPECT_EQ(line.x, 10.0f);
    EXPECT_EQ(line.y, 20.0f);
    EXPECT_EQ(line.dx, 5.0f);
    EXPECT_EQ(line.dy, 6.0f);
    EXPECT_EQ(line.type, 1);
    EXPECT_EQ(line.id, 0);
    EXPECT_EQ(reader.nextWord(), "//ID");
    EXPECT_EQ(reader.nextWord(), "9");
}

TEST(LevelReader, RereadsAValueThatDoesNotParseAsTheNextKey)
{
    // Vector, 100 and 200 spend steps two to four; //Radius is the fifth.
    TextReader reader("//Position Vector 100 200 //Radius 50 //Sector 3");
    const ArcRecord arc = reader->readArc();
    EXPECT_EQ(arc.x, 0.0f);
    EXPECT_EQ(arc.y, 0.0f);
    EXPECT_EQ(arc.radius, 50.0f);
    EXPECT_EQ(arc.quadrant, 0);
    EXPECT_EQ(reader.nextWord(), "//Sector");

    // "12abc" gives 12 and "abc" spends the second step, so //ID is left over.
    TextReader twelve("//X 12abc //Y 3 //Dx 1 //Dy 1 //Type 1 //ID 4");
    const LineRecord line = twelve->readLine();
    EXPECT_EQ(line.x, 12.0f);
    EXPECT_EQ(line.y, 3.0f);
    EXPECT_EQ(line.type, 1);
    EXPECT_EQ(line.id, 0);
    EXPECT_EQ(twelve.nextWord(), "//ID");
}

TEST(LevelReader, LetsASecondHitPointNumberReplaceTheFirst)
{
    TextReader one("//Hp 5 //Ammo 1 2 3 //Score 4 //GunType G");
    EXPECT_EQ(one->readPlayer().hp, 5);
    TextReader two("//Hp 5 100 //Ammo 1 2 3 //Score 4 //GunType G");
    const PlayerRecord player = two->readPlayer();
    EXPECT_EQ(player.hp, 100);
    EXPECT_EQ(player.ammoB, 3);
    EXPECT_EQ(player.gunType, 'G');
}

TEST(LevelReader, StopsAKeysValuesAtTheFirstThatDoesNotParse)
{
    TextReader reader("//Ammo 1 x 3 //Score 4 //Hp 2 //GunType Q");
    const PlayerRecord player = reader->readPlayer();
    EXPECT_EQ(player.ammoG, 1);
    EXPECT_EQ(player.ammoF, 0);
    EXPECT_EQ(player.ammoB, 0);
    EXPECT_EQ(player.score, 4); // x and 3 spent steps two and three
    EXPECT_EQ(reader.nextWord(), "//Hp");
}

TEST(LevelReader, KeepsTheLowEightBitsOfTypesQuadrantsAndFlags)
{
    TextReader line("//Type 258 //ID -1 //X 0 //Y 0 //Dx 0 //Dy 0");
    const LineRecord record = line->readLine();
    EXPECT_EQ(record.type, 2);
    EXPECT_EQ(record.id, -1);
    TextReader negative("//Type -1 //ID 4294967295 //X 0 //Y 0 //Dx 0 //Dy 0");
    const LineRecord wrapped = negative->readLine();
    EXPECT_EQ(wrapped.type, 255);
    EXPECT_EQ(wrapped.id, -1);
    TextReader arc("//Sector 271 //Flag -240 //Radius 1 //Position 0 0 //speed/distance 0 0");
    const ArcRecord bits = arc->readArc();
    EXPECT_EQ(bits.quadrant, 15);
    EXPECT_EQ(bits.flag, 16);
}

TEST(LevelReader, ReadsTheGunTypeFromTheTwoRawBytesAfterItsKey)
{
    struct Case {
        std::string text;
        char gunType;
        std::string next;
    };
    const Case cases[] = {
        {"//GunType G //Hp 1 //Score 2 //Ammo 3 4 5 after", 'G', "after"},
        {"//GunType  G //Hp 1 //Score 2 //Ammo 3 4 5", ' ', "//Ammo"}, // G spent a step
        {"//GunType\nG //Hp 1 //Score 2 //Ammo 3 4 5 after", 'G', "after"},
        {"//GunType\r\nG //Hp 1", '\n', "(end)"},
        {"//GunType G", 'G', "(end)"},
        {"//GunType ", '\0', "(end)"},
        {"//GunType", '\0', "(end)"},
        {"//GunType X //GunType ", 'X', "(end)"},
    };
    for (const Case& test : cases) {
        TextReader reader(test.text);
        EXPECT_EQ(reader->readPlayer().gunType, test.gunType) << test.text;
        EXPECT_EQ(reader.nextWord(), test.next) << test.text;
    }
}

TEST(LevelReader, KeepsZerosForARecordCutShortByTheEnd)
{
    TextReader line("//X 5 //Y");
    const LineRecord cut = line->readLine();
    EXPECT_EQ(cut.x, 5.0f);
    EXPECT_EQ(cut.y, 0.0f);
    EXPECT_EQ(cut.type, 0);
    TextReader tile("//Vector 3");
    const TileRecord half = tile->readTile();
    EXPECT_EQ(half.x, 3.0f);
    EXPECT_EQ(half.y, 0.0f);
    EXPECT_EQ(half.imageName, "");
    TextReader size("640");
    const SizeRecord width = size->readSize();
    EXPECT_EQ(width.width, 640.0f);
    EXPECT_EQ(width.height, 0.0f);
    TextReader empty("");
    EXPECT_EQ(empty->readPicture().fileName, "");
}

TEST(LevelReader, ReadsNumbersTheWayTheLibraryDoes)
{
    TextReader reader("//X nan //Y inf //Dx 1e39 //Dy 0x1p3 //Type +7 //ID -0");
    const LineRecord line = reader->readLine();
    EXPECT_TRUE(std::isnan(line.x));
    EXPECT_EQ(line.y, INFINITY);
    EXPECT_EQ(line.dx, INFINITY);
    EXPECT_EQ(line.dy, 8.0f);
    EXPECT_EQ(line.type, 7);
    EXPECT_EQ(line.id, 0);
}

} // namespace
