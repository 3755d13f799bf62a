#include "gfx/OverlayShapes.h"
#include "level/LevelKeys.h"
#include "level/LevelLoader.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"
#include "tools/level-editor/FloatText.h"
#include "tools/level-editor/LevelDescription.h"
#include "tools/lint-level/LevelLint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>

namespace {

// The JSON string's text (escapes undone: the messages hold \" and \\ at most).
std::string unescaped(const std::string& json)
{
    return std::regex_replace(json, std::regex(R"(\\(["\\]))"), "$1");
}

// The findings of a description as quillfen-lint prints them.
std::string findingsAsLint(const std::string& description)
{
    const std::regex finding(
        R"re(\{"line":(\d+),"column":(\d+),"offset":\d+,"length":\d+,"severity":"(\w+)",)re"
        R"re("message":"((?:[^"\\]|\\.)*)","file":"([^"]*)","located":(\w+))re");
    std::string lines;
    for (std::sregex_iterator at(description.begin(), description.end(), finding), end; at != end;
         ++at) {
        const std::smatch& f = *at;
        const std::string where = f[6] == "true" ? ":" + f[1].str() + ":" + f[2].str() : "";
        lines += f[5].str() + where + ": " + f[3].str() + ": " + unescaped(f[4]) + "\n";
    }
    return lines;
}

std::string describeText(const ScratchDirectory& folder, const std::string& text)
{
    folder.write("Level.txt", text);
    return describeLevel(folder.path());
}

TEST(LevelEditor, FindingsAndLintAreQuillfenLintsWordForWord)
{
    std::vector<std::string> levels{assetsDir() + "/Level.txt"};
    for (const auto& entry :
         std::filesystem::directory_iterator(assetsDir() + "/../tests/levels")) {
        levels.push_back(entry.path().string());
    }
    for (const std::string& level : levels) {
        SCOPED_TRACE(level);
        const ScratchDirectory folder;
        const std::string description = describeText(folder, readWholeFile(level));
        const std::string lint =
            lintLevel({folder.file("Level.txt"), "Level.txt", {folder.path(), ""}, false}).output;
        const std::string withoutSummary = lint.substr(0, lint.rfind('\n', lint.size() - 2) + 1);
        EXPECT_EQ(findingsAsLint(description),
                  lint.find('\n') + 1 == lint.size() ? "" : withoutSummary);
        std::string lintJson;
        for (const char c : lint) {
            lintJson += c == '\n'  ? std::string("\\n")
                        : c == '"' ? std::string("\\\"")
                                   : std::string(1, c);
        }
        EXPECT_NE(description.find("\"lint\":\"" + lintJson + "\""), std::string::npos);
    }
}

// Every key word of the bundled level is a spelling of its key, every value reads back as the
// number the game read, every name is the picture's name.
TEST(LevelEditor, RangesOfTheBundledLevelSliceOutTheirWordsAndValues)
{
    const std::string text = readWholeFile(assetsDir() + "/Level.txt");
    const std::string description = describeLevel(assetsDir());
    const std::regex key(R"re("key":"(\w+)","word":\[(\d+),(\d+)\])re");
    const std::regex value(
        R"re("range":\[(\d+),(\d+)\],"parsed":true,"(number|name)":("?[^,}"]*))re");
    const auto slice = [&text](const std::ssub_match& from, const std::ssub_match& to) {
        return text.substr(std::stoul(from), std::stoul(to) - std::stoul(from));
    };
    int keys = 0;
    for (std::sregex_iterator at(description.begin(), description.end(), key), end; at != end;
         ++at, ++keys) {
        const std::string word = slice((*at)[2], (*at)[3]);
        const std::string name = (*at)[1];
        const LevelKey spelled[] = {tileKey(word), lineKey(word), arcKey(word), playerKey(word)};
        LevelHeader header = LevelHeader::Objects;
        const bool found =
            std::any_of(std::begin(spelled), std::end(spelled),
                        [&name](LevelKey k) { return levelKeyName(k) == name; }) ||
            (findHeader(word, header) && (name == "SizeValues" || name == "PictureName"));
        EXPECT_TRUE(found) << word << " is no " << name;
    }
    int values = 0;
    for (std::sregex_iterator at(description.begin(), description.end(), value), end; at != end;
         ++at, ++values) {
        const std::string written = slice((*at)[1], (*at)[2]);
        float read = 0.0f;
        if ((*at)[3] == "name") {
            EXPECT_EQ("\"" + written, (*at)[4].str());
        } else if (written.size() == 1 && !std::isdigit(static_cast<unsigned char>(written[0]))) {
            EXPECT_EQ(std::to_string(static_cast<unsigned char>(written[0])), (*at)[4].str());
        } else {
            EXPECT_TRUE(readsAs(written, read) && read == std::stof((*at)[4])) << written;
        }
    }
    EXPECT_GT(keys, 100);
    EXPECT_GT(values, 150);
    // The first line's //X value gives its digits; the record spans from its header.
    const std::string line = description.substr(description.find("\"kind\":\"line\""), 400);
    std::smatch first;
    std::regex_search(
        line, first,
        std::regex(
            R"re("from":(\d+),"to":(\d+).*?"word":\[\d+,\d+\],"values":\[\{"range":\[(\d+),(\d+)\])re"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(slice(first[1], first[2]),
              "#_CollVec //X 96 //Y 11 //Dx 110 //Dy 0 //Type 3 //ID 101");
    EXPECT_EQ(slice(first[3], first[4]), "96");
}

// Offsets count bytes: a note of multi-byte characters and CRLF line ends move them.
TEST(LevelEditor, OffsetsCountBytesPastCrlfAndMultiByteNotes)
{
    const std::string text = "Höhle – «Grüße» 🐉\r\n#_CollVec\r\n//X 10 //Y 20 //Föö //Dx 5\r\n";
    const ScratchDirectory folder;
    const std::string description = describeText(folder, text);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(
        description, match,
        std::regex(
            R"re("from":(\d+),"to":(\d+).*?"LineX","word":\[(\d+),(\d+)\],"values":\[\{"range":\[(\d+),(\d+)\])re")));
    const auto at = [&match](int group) { return std::stoul(match[group]); };
    EXPECT_EQ(text.substr(at(1), at(2) - at(1)), "#_CollVec\r\n//X 10 //Y 20 //Föö //Dx 5");
    EXPECT_EQ(text.substr(at(3), at(4) - at(3)), "//X");
    EXPECT_EQ(text.substr(at(5), at(6) - at(5)), "10");
    ASSERT_TRUE(
        std::regex_search(description, match,
                          std::regex(R"re("line":3,"column":15,"offset":(\d+),"length":(\d+))re")));
    EXPECT_EQ(text.substr(at(1), at(2)), "//Föö");
}

// The shortest text that the game's reader reads back to the same float, for whole numbers,
// fractions, tiny and huge numbers and arbitrary bit patterns.
TEST(LevelEditor, FloatTextIsTheShortestTextTheReaderReadsBack)
{
    std::vector<float> values{0.0f, -0.0f, 0.1f, 1.0f / 3.0f, 1e-7f, 3e38f, 16777216.0f, -2.5f};
    for (int whole = -5000; whole <= 5000; whole += 7) {
        values.push_back(static_cast<float>(whole));
        values.push_back(static_cast<float>(whole) / 16.0f);
        values.push_back(static_cast<float>(whole) * 0.01f);
    }
    uint32_t bits = 12345;
    for (int draw = 0; draw < 5000; ++draw) {
        bits = bits * 1664525u + 1013904223u;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (const float value : values) {
        const std::string text = floatText(value);
        float read = 1.0f;
        ASSERT_TRUE(readsAs(text, read)) << text;
        ASSERT_EQ(std::memcmp(&read, &value, sizeof read), 0) << text;
        for (int digits = 1; digits < 9; ++digits) {
            char shorter[40];
            std::snprintf(shorter, sizeof shorter, "%.*g", digits, static_cast<double>(value));
            if (readsAs(shorter, read) && read == value) {
                ASSERT_LE(text.size(), std::strlen(shorter)) << shorter;
            }
        }
    }
    EXPECT_EQ(floatText(250.0f), "250");
    EXPECT_EQ(floatText(0.1f), "0.1");
    EXPECT_EQ(floatText(-1500.0f), "-1500");
}

// The overlay of the description is the list the map draws, each level shape tied to its record.
TEST(LevelEditor, TheOverlayIsTheListTheMapDraws)
{
    const std::string description = describeLevel(assetsDir());
    const std::string overlay = description.substr(description.find("\"overlay\":"));
    const auto game = makeHeadlessGame();
    {
        const ScopedWorkingDirectory inAssets(assetsDir());
        const LogCapture log;
        loadLevel(*game);
    }
    const std::vector<OverlayShape> shapes = listCollisionOverlay(*game);
    const std::regex shape(
        R"re(\{"shape":"(\w+)",[^}]*"colour":"(#\w+)","dashed":(\w+),"record":(-?\d+)\})re");
    std::size_t index = 0;
    for (std::sregex_iterator at(overlay.begin(), overlay.end(), shape), end; at != end;
         ++at, ++index) {
        ASSERT_LT(index, shapes.size());
        const OverlayShape& drawn = shapes[index];
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%02x%02x%02x",
                      static_cast<int>(std::lround(drawn.colour.red * 255)),
                      static_cast<int>(std::lround(drawn.colour.green * 255)),
                      static_cast<int>(std::lround(drawn.colour.blue * 255)));
        EXPECT_EQ((*at)[2].str(), colour);
        EXPECT_EQ((*at)[3] == "true", drawn.dashed);
        const bool builtIn =
            (drawn.source == OverlaySource::Line && drawn.index < 36) ||
            (drawn.source == OverlaySource::Arc && drawn.index < 6) ||
            (drawn.source == OverlaySource::Entity && drawn.list != kLevelPictureList);
        EXPECT_EQ((*at)[4] == "-1", builtIn) << index;
    }
    EXPECT_EQ(index, shapes.size());
}

} // namespace
