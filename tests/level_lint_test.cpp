#include "level/LevelLoader.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"
#include "tools/lint-level/LevelLint.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// A level text, the folder's file removed before linting (if any), and what the lint says.
struct LintCase {
    std::string level;
    std::string expected;
    int status = kLintClean;
    const char* missing = "";
    bool werror = false;
};

TEST(LevelLint, TellsEachSurpriseWhereItIs)
{
    const LintCase cases[] = {
        {"#_CollVec //X 0 //Y 600 //Dx 3000 //Dy 0 //Type 2 //ID 1",
         "Level.txt: clean, 1 record\n"},
        {"#_collvec //X 5\n#_Tiles",
         "Level.txt:1:1: warning: '#_collvec' is no header (headers match case: '#_CollVec'); it "
         "and all up to the next header are notes\n"
         "Level.txt:2:1: warning: '#_Tiles' is no header; it and all up to the next header are "
         "notes\n"
         "Level.txt: 0 errors, 2 warnings in 0 records\n",
         kLintWarnings, "", true},
        {"#_CollVec\n//X 10 //Y 20 //Foo //Dx 5 //Dy 6 //Type 1\n//ID 9",
         "Level.txt:2:15: warning: '//Foo' is not a key of #_CollVec; it spends key step 3 of 6, "
         "so '//Dx' is read as step 4 (record begins at 1:1)\n"
         "Level.txt:3:1: warning: '//ID' stands outside any record: it and its values are notes\n"
         "Level.txt: 0 errors, 2 warnings in 1 record\n"},
        {"#_CollArc //Position Vector 100 200 //Radius 50",
         "Level.txt:1:1: warning: this arc around (0, 0), radius 50, leaves the world (3000 by "
         "680, the game's own) (record begins at 1:1)\n"
         "Level.txt:1:22: warning: '//Position' reads no centre x from 'Vector' (not a number): it "
         "stays 0, as do the values after it; 'Vector' is read as key step 2 of 5 (record begins "
         "at 1:1)\n"
         "Level.txt:1:29: warning: '100' is not a key of #_CollArc; it spends key step 3 of 5, so "
         "'200' is read as step 4 (record begins at 1:1)\n"
         "Level.txt:1:33: warning: '200' is not a key of #_CollArc; it spends key step 4 of 5, so "
         "'//Radius' is read as step 5 (record begins at 1:1)\n"
         "Level.txt: 0 errors, 4 warnings in 1 record\n"},
        {"#_CollVec //X 1 //Y 2 //X 3 //Dx 0 //Dy 0 //Type 258",
         "Level.txt:1:1: warning: this line has no length (dx and dy are 0): nothing ever touches "
         "it (record begins at 1:1)\n"
         "Level.txt:1:23: warning: '//X' is given twice in this #_CollVec (first at 1:11); the "
         "later value wins (record begins at 1:1)\n"
         "Level.txt:1:50: warning: type 258 is outside 0 to 255; only the low 8 bits are kept: 2 "
         "(record begins at 1:1)\n"
         "Level.txt: 0 errors, 3 warnings in 1 record\n"},
        {"#_CollVec //X 5 //Y 6 //Dx 1 //Dy 1",
         "Level.txt:1:1: warning: the file ends after key step 4 of 6; the rest stays 0 and the "
         "record is built as it is (record begins at 1:1)\n"
         "Level.txt: 0 errors, 1 warning in 1 record\n"},
        {"#_Image Level.txt\n#_Image " + std::string(300, 'b'),
         "Level.txt:1:9: error: the picture 'Level.txt' is refused (not a bitmap: it does not "
         "start with \"BM\"): "
         "the game stops here (record begins at 1:1)\n"
         "Level.txt:2:9: warning: this word is 300 characters long; the game keeps its first 254 "
         "(record begins at 2:1)\n"
         "Level.txt:2:9: error: the picture 'bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb...' is "
         "missing: the game stops here (record begins at 2:1)\n"
         "Level.txt: 2 errors, 1 warning in 2 records\n",
         kLintErrors},
        {"#_Player //Hp 3 //GunType  G //Score 1",
         "Level.txt:1:27: warning: the gun type is a blank: '//GunType' drops one character and "
         "takes the next raw (record begins at 1:1)\n"
         "Level.txt:1:28: warning: 'G' is not a key of #_Player; it spends key step 3 of 4, so "
         "'//Score' is read as step 4 (record begins at 1:1)\n"
         "Level.txt: 0 errors, 2 warnings in 1 record\n"},
        {"#_CollArc //Position 500 300 //Radius -5 //Flag 16 //speed/distance 0 0 //Sector 1\n"
         "#_CollVec //X 1e39 //Y nan //Dx 1 //Dy 1 //Type 3 //ID 1",

         "Level.txt:1:1: warning: the arc's radius -5 is not above 0: it stops nothing (record "
         "begins at 1:1)\n"
         "Level.txt:1:1: warning: the attraction ring (flag 16) has distance 0: it pulls nothing "
         "(record begins at 1:1)\n"
         "Level.txt:2:15: warning: '1e39' reads as infinity: the x of '//X' is no finite number "
         "(record begins at 2:1)\n"
         "Level.txt:2:24: warning: 'nan' reads as NaN: the y of '//Y' is no number (record begins "
         "at 2:1)\n"
         "Level.txt: 0 errors, 4 warnings in 2 records\n"},
        {"#_Size 100 100\n#_Image bitmap2.bmp\n#_CollVec //X 10 //Y 10 //Dx 200 //Dy 0 //Type 1 "
         "//ID 1",
         "Level.txt:2:1: warning: the picture, placed at (100, 150) 64 by 64, leaves the world "
         "(100 by 100, #_Size at 1:1) (record begins at 2:1)\n"
         "Level.txt:3:1: warning: this line from (10, 10) to (210, 10) leaves the world (100 by "
         "100, #_Size at 1:1) (record begins at 3:1)\n"
         "Level.txt: 0 errors, 2 warnings in 3 records\n"},
        {"#_CollVec //X 0 //Y 600 //Dx 100 //Dy 0 //Type 3 //ID 1\n"
         "#_CollVec //X 50 //Y 600 //Dx 100 //Dy 0 //Type 3 //ID 2\n"
         "#_CollVec //X 1 //Y 479 //Dx 5 //Dy 0 //Type 3 //ID 3",
         "Level.txt:2:1: warning: this line overlaps the #_CollVec at 1:1 on the same line: it is "
         "given twice (record begins at 2:1)\n"
         "Level.txt:3:1: warning: this line overlaps the built-in line (1, 479) to (3000, 479) on "
         "the same line: it is given twice (record begins at 3:1)\n"
         "Level.txt: 0 errors, 2 warnings in 3 records\n"},
        {"#_CollVec //X 0 //Y 200 //Dx 300 //Dy 0 //Type 1 //ID 1\n#_Image bitmap2.bmp",
         "Level.txt:2:1: warning: the picture, placed at (100, 150), starts stuck: its circle "
         "(radius 32 around (132, 182)) overlaps the solid side of the #_CollVec at 1:1 (record "
         "begins at 2:1)\n"
         "Level.txt: 0 errors, 1 warning in 2 records\n"},
        {"",
         "level.bmp: warning: the background picture cannot be read (No such file or directory); "
         "the game plays without one\n"
         "Level.txt: 0 errors, 1 warning in 0 records\n",
         kLintClean, "level.bmp"},
        {"", "Level.txt: error: cannot be read: No such file or directory\n", kLintUnreadable,
         "Level.txt"},
    };
    for (const LintCase& lintCase : cases) {
        SCOPED_TRACE(lintCase.level.substr(0, 80));
        const ScratchDirectory scratch;
        scratch.write("Level.txt", lintCase.level);
        if (*lintCase.missing != '\0') {
            std::filesystem::remove(scratch.file(lintCase.missing));
        }
        const LintResult result = lintLevel(
            {scratch.file("Level.txt"), "Level.txt", {scratch.path(), ""}, lintCase.werror});
        EXPECT_EQ(result.output, lintCase.expected);
        EXPECT_EQ(result.status, lintCase.status);
    }
}

// The game's log and the world it builds are the same whether the reader is observed or not.
TEST(LevelLint, ObservingTheReaderLeavesTheGameAsItIs)
{
    const std::string text = readWholeFile(assetsDir() + "/Level.txt");
    int reports = 0;
    const LevelObserver counter{
        &reports, [](void* count, const ReadReport&) { ++*static_cast<int*>(count); }};
    std::string outcome[2];
    for (int observed = 0; observed < 2; ++observed) {
        const auto game = makeHeadlessGame();
        const ScopedWorkingDirectory inAssets(assetsDir());
        const LogCapture log;
        CharSource source(text.data(), text.size());
        readLevel(*game, source, observed == 1 ? &counter : nullptr);
        outcome[observed] = log.text() + std::to_string(game->lines.size()) + " lines " +
                            std::to_string(game->arcs.size()) + " arcs " +
                            std::to_string(game->levelPictures().size()) + " pictures";
    }
    EXPECT_EQ(outcome[1], outcome[0]);
    EXPECT_NE(outcome[0].find("Collision Arc Data Loaded"), std::string::npos);
    EXPECT_GT(reports, 200);
}

} // namespace
