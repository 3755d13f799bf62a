#include "level/FormattedRead.h"
#include "level/LevelReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
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

TEST(FormattedRead, CutsALongWordAndDropsTheRestOfItsRunEvenAMegabyteLong)
{
    for (const std::string& text : {std::string(300, 'w') + " next", std::string(1 << 20, 'w')}) {
        CharSource source(text.data(), text.size());
        std::string word;
        ASSERT_TRUE(readWord(source, word));
        EXPECT_EQ(word, std::string(kMaxWordLength, 'w'));
        EXPECT_EQ(readWord(source, word), text.size() < 400);
        EXPECT_EQ(word, text.size() < 400 ? "next" : std::string(kMaxWordLength, 'w'));
        EXPECT_FALSE(readWord(source, word));
    }
}

TEST(FormattedRead, TakesRawBytesWithoutSkippingWhiteSpaceAndReadsAnOpenFileAlike)
{
    const std::string text(" \nG", 3);
    CharSource source(text.data(), text.size());
    char byte = 'q';
    for (char expected : text) {
        ASSERT_TRUE(readChar(source, byte));
        EXPECT_EQ(byte, expected);
    }
    EXPECT_FALSE(readChar(source, byte));
    EXPECT_EQ(byte, 'G');

    std::string contents = "  -12.5e1x tail";
    std::FILE* file = fmemopen(contents.data(), contents.size(), "r");
    ASSERT_NE(file, nullptr);
    CharSource fromFile(file);
    float value = 0.0f;
    ASSERT_TRUE(readFloat(fromFile, value));
    EXPECT_EQ(value, -125.0f);
    EXPECT_EQ(restOf(fromFile), "x tail");
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

TEST(LevelReader, EndsAWordAtItsFirstNulByte)
{
    TextReader reader(std::string("#_Size\0junk next", 16));
    EXPECT_EQ(reader.nextWord(), "#_Size");
    EXPECT_EQ(reader.nextWord(), "next");
}

TEST(LevelReader, AcceptsEveryKeySpellingOfALineAndAnArc)
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
        EXPECT_EQ(std::make_tuple(line.x, line.y, line.dx, line.dy, line.type, line.id),
                  std::make_tuple(1.0f, 2.0f, 3.0f, 4.0f, uint8_t{5}, int32_t{6}))
            << keys[0] << keys[2] << keys[5];
        EXPECT_EQ(reader.nextWord(), "after");
    }
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
        EXPECT_EQ(std::make_tuple(arc.x, arc.y, arc.radius, arc.quadrant, arc.flag, arc.minSpeed,
                                  arc.distance),
                  std::make_tuple(1.0f, 2.0f, 3.0f, uint8_t{4}, uint8_t{5}, 6.0f, 7.0f))
            << flags[variant];
        EXPECT_EQ(reader.nextWord(), "after");
    }
}

TEST(LevelReader, AcceptsEveryKeySpellingOfATileAndAPlayer)
{
    for (const char* text : {"//Image a.bmp //Id 7 //Vector 1.5 -2 //ImgId 9 after",
                             "//image a.bmp //id 7 //vector 1.5 -2 //imgid 9 after"}) {
        TextReader reader(text);
        const TileRecord tile = reader->readTile();
        EXPECT_EQ(std::make_tuple(tile.imageName, tile.id, tile.x, tile.y, tile.imageId),
                  std::make_tuple(std::string("a.bmp"), int32_t{7}, 1.5f, -2.0f, int32_t{9}))
            << text;
        EXPECT_EQ(reader.nextWord(), "after");
    }
    for (const char* text : {"//Hp 5 //Ammo 1 2 3 //Score 8 //GunType G after",
                             "//hp 5 //ammo 1 2 3 //score 8 //guntype G after",
                             "//Hp 5 //Ammo 1 2 3 //Score 8 //Guntype G after"}) {
        TextReader reader(text);
        const PlayerRecord p = reader->readPlayer();
        EXPECT_EQ(std::make_tuple(p.hp, p.ammoG, p.ammoF, p.ammoB, p.score, p.gunType),
                  std::make_tuple(5, 1, 2, 3, 8, 'G'))
            << text;
        EXPECT_EQ(reader.nextWord(), "after");
    }
}

TEST(LevelReader, RereadsAValueThatDoesNotParseAsTheNextKey)
{
    // Vector, 100 and 200 spend steps two to four; //Radius is the fifth.
    TextReader reader("//Position Vector 100 200 //Radius 50 //Sector 3");
    const ArcRecord arc = reader->readArc();
    EXPECT_EQ(std::make_tuple(arc.x, arc.y, arc.radius, arc.quadrant),
              std::make_tuple(0.0f, 0.0f, 50.0f, uint8_t{0}));
    EXPECT_EQ(reader.nextWord(), "//Sector");

    // "12abc" gives 12 and "abc" spends the second step, so //ID is left over.
    TextReader twelve("//X 12abc //Y 3 //Dx 1 //Dy 1 //Type 1 //ID 4");
    const LineRecord line = twelve->readLine();
    EXPECT_EQ(std::make_tuple(line.x, line.y, line.type, line.id),
              std::make_tuple(12.0f, 3.0f, uint8_t{1}, int32_t{0}));
    EXPECT_EQ(twelve.nextWord(), "//ID");

    // A key's values stop at the first that does not parse; x and 3 spend steps two and three.
    TextReader ammo("//Ammo 1 x 3 //Score 4 //Hp 2 //GunType Q");
    const PlayerRecord player = ammo->readPlayer();
    EXPECT_EQ(std::make_tuple(player.ammoG, player.ammoF, player.ammoB, player.score),
              std::make_tuple(1, 0, 0, 4));
    EXPECT_EQ(ammo.nextWord(), "//Hp");
}

TEST(LevelReader, KeepsTheLowEightBitsOfTypesQuadrantsAndFlags)
{
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

} // namespace
