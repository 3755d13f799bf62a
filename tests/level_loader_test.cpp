#include "level/LevelLoader.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <tuple>
#include <utility>

namespace {

struct LoadedLevel {
    std::unique_ptr<Game> game;
    std::string log;
};

// A fresh headless world in a scratch folder with the bundled bitmaps and, unless `withFile`
// is false, a Level.txt holding `text`; after loadLevel, with what it printed and, when a
// picture could not be loaded, "[ImageLoadError]" where the program would end.
LoadedLevel loadText(const std::string& text, bool withFile = true)
{
    const ScratchDirectory scratch;
    if (withFile) {
        scratch.write("Level.txt", text);
    }
    LoadedLevel loaded{makeHeadlessGame(scratch.path()), ""};
    ScopedWorkingDirectory inScratch(scratch.path());
    LogCapture log;
    try {
        loadLevel(*loaded.game);
    } catch (const ImageLoadError&) {
        std::cout << "[ImageLoadError]";
    }
    loaded.log = log.text();
    return loaded;
}

std::string lineEcho(const std::string& x, const std::string& y, const std::string& dx,
                     const std::string& dy, char type, const std::string& id)
{
    return "\nCollision Vector Data Loaded\nX Position:" + x + "\nY Position:" + y + "\nDX:" + dx +
           "\nDY:" + dy + "\nType:" + std::string(1, type) + "\nID:" + id + "\n";
}

std::string arcEcho(const std::string& radius, char quadrant, char flag)
{
    return "\nCollision Arc Data Loaded\nPosition Vector: \nX:0\nY:0\nRadius:" + radius +
           "\nQuadrant:" + std::string(1, quadrant) + "\nFlag:" + std::string(1, flag) +
           "\nMinimum Speed:0\nDistance:0\n";
}

std::string playerEcho(const std::string& hp, const std::string& ammo, const std::string& score,
                       char gunType)
{
    return "\nPlayer\nHp: " + hp + "\nAmmoG: " + ammo +
           "\nAmmoF: 0\nAmmoB: 0\nInputScore: " + score +
           "\nCurrent Gun Type: " + std::string(1, gunType) + "\n";
}

// One record of each kind, and what it prints.
const char* const kExample = "#_Size 4000 680\n"
                             "#_Image bitmap2.bmp\n"
                             "#_CollVec\n"
                             "//X 0 //Y 600 //Dx 3000 //Dy 0 //Type 2 //ID 1\n"
                             "#_CollArc\n"
                             "//Position 500 400 //Radius 120 //Sector 3 //flag 2 "
                             "//speed/distance 50 10\n"
                             "#_Player\n"
                             "//Hp 5 //Ammo 10 20 30 //Score 0 //GunType G\n"
                             "#_TList //Image tile.bmp //Id -1 //Vector 1234567 0.5 //ImgId 3\n"
                             "#_Objects #_Events\n";

const char* const kExampleEcho =
    "Image\nImage File Load:\nbitmap2.bmp\n"
    "No alpha mask, converting pixel format to add alpha\n"
    "\nCollision Vector Data Loaded\nX Position:0\nY Position:600\nDX:3000\nDY:0\nType:\x02\n"
    "ID:1\n"
    "\nCollision Arc Data Loaded\nPosition Vector: \nX:500\nY:400\nRadius:120\n"
    "Quadrant:\x03\nFlag:\x02\nMinimum Speed:50\nDistance:10\n"
    "\nPlayer\nHp: 5\nAmmoG: 10\nAmmoF: 20\nAmmoB: 30\nInputScore: 0\nCurrent Gun Type: G\n"
    "Tile\nId: 4294967295\nVec: X1.23457e+06Vec: Y0.5\nimage: tile.bmp\n";

TEST(LevelLoader, EchoesAndBuildsTheSameRecordsWhateverTheSpellingsOrderAndLineEnds)
{
    const std::string levels[] = {
        kExample,
        // Every record on one line, keys in lower case and another order, numbers written
        // otherwise (258 and 259 keep their low eight bits).
        "#_Image bitmap2.bmp #_CollVec //id 1 //type 258 //dy 0 //dx 3e3 //y 600 //x 0 "
        "#_CollArc //radius 120 //Vector 500 400 //sector 259 //Collision_Stick 2 "
        "//Speed/Distance 50 10 #_Player //ammo 10 20 30 //guntype G //score 0 //hp 5 "
        "#_Objects #_TList //imgid 3 //vector 1234567 .5 //id 4294967295 //image tile.bmp "
        "#_Events #_Size 4000 680",
        // The remaining spellings with CRLF line ends, notes, a header in another case and a
        // size that the later one replaces; //Hp keeps its second number.
        "A note. #_Size 10 10\r\n#_collvec //X 5\r\n#_Image bitmap2.bmp\r\n#_CollVec\r\n"
        "//X 0 //Y 600 //DX 3000 //DY 0 //TYPE -254 //Id 1\r\n#_CollArc\r\n//vector 500 400 "
        "//Radius 120 //Sector 3 //collision_stick 258 //speed/distance 50 10\r\n#_Player\r\n"
        "//Hp 7 5 //Ammo 10 20 30 //Score 0 //Guntype G\r\n#_Size 4000 680\r\n"
        "#_TList //Image tile.bmp //Id -1 //Vector 1234567 0.5 //ImgId 3\r\n\r\n",
    };
    // The built-in scene drew six random numbers; the picture's direction takes the next two.
    resetProcessState();
    for (int draw = 0; draw < 6; ++draw) {
        std::rand();
    }
    const float directionX = static_cast<float>(std::rand() % 10 - 5);
    const float directionY = static_cast<float>(std::rand() % 10 - 5);
    const Entity moving(200.0f, 100.0f, 150.0f, 64.0f, 64.0f, directionX, directionY);
    for (const std::string& text : levels) {
        SCOPED_TRACE(text);
        const LoadedLevel loaded = loadText(text);
        EXPECT_EQ(loaded.log, kExampleEcho);
        Game& game = *loaded.game;
        EXPECT_EQ(std::make_pair(game.renderer.worldSize.x, game.renderer.worldSize.y),
                  std::make_pair(4000.0f, 680.0f));
        ASSERT_EQ(game.lines.size(), 37u);
        const CollisionVector& line = game.lines.back();
        EXPECT_EQ(std::make_tuple(line.x, line.y, line.dx, line.dy, line.type, line.id),
                  std::make_tuple(0.0f, 600.0f, 3000.0f, 0.0f, uint8_t{2}, 1u));
        ASSERT_EQ(game.arcs.size(), 7u);
        const CollisionArc& arc = game.arcs.back();
        EXPECT_EQ(std::make_tuple(arc.x, arc.y, arc.radius, arc.quadrant, arc.flag, arc.minSpeed,
                                  arc.distance),
                  std::make_tuple(500.0f, 400.0f, 120.0f, uint8_t{3}, uint8_t{2}, 50.0f, 10.0f));
        // The picture flies off with the next ids; the tile and the player are only shown.
        ASSERT_EQ(game.levelPictures().size(), 1u);
        const Entity& picture = *game.levelPictures().front();
        EXPECT_EQ(std::make_tuple(picture.id, picture.imageIds, game.renderer.images.back().id),
                  std::make_tuple(13, std::vector<int32_t>{14}, 14));
        EXPECT_EQ(std::make_tuple(picture.x, picture.y, picture.speed, picture.dirX, picture.dirY),
                  std::make_tuple(100.0f, 150.0f, 200.0f, moving.dirX, moving.dirY));
        EXPECT_EQ(std::make_pair(game.tiles.size(), game.player.hp),
                  std::make_pair(std::size_t{1}, 3));
    }
}

TEST(LevelLoader, EchoesAndBuildsOnlyWhatTheKeyStepsTookWhenKeysGoAstrayOrTheFileEnds)
{
    const std::string zeros = lineEcho("5", "0", "0", "0", '\0', "0");
    std::mt19937 random(7);
    std::string binary;
    for (int byte = 0; byte < (1 << 16); ++byte) {
        binary += static_cast<char>(random());
    }
    const std::pair<std::string, std::string> records[] = {
        {"", "File Failed to load....\n"}, // no Level.txt at all
        {"My level. It has no records at all, only notes.\n", ""},
        {"#_collvec //X 5 //Y 5 //Dx 5 //Dy 5 //Type 3 //ID 1\n"
         "#_SIZE 10 10 #_image bitmap2.bmp #_Collarc //Radius 5 Image Size TList\n",
         ""},
        // A word is cut at 254 characters and the rest of its run dropped, so the end of this
        // megabyte is no header.
        {std::string(254 * 4128, 'w') + "#_Size 100 200\n", ""},
        // A word that is no key spends a step; the //ID 9 left over is skipped.
        {"#_CollVec\n//X 10 //Y 20 //Foo //Dx 5 //Dy 6 //Type 1 //ID 9\n",
         lineEcho("10", "20", "5", "6", '\x01', "0")},
        // "12abc" reads 12, and abc spends the next step.
        {"#_CollVec //X 12abc //Y 3 //Dx 1 //Dy 1 //Type 1 //ID 4",
         lineEcho("12", "3", "1", "1", '\x01', "0")},
        {"#_CollVec //Type -1 //ID -1", lineEcho("0", "0", "0", "0", '\xff', "4294967295")},
        {"#_CollVec //X nan //Y 1e39 //Dx -inf", lineEcho("nan", "inf", "-inf", "0", '\0', "0")},
        // Cut short, also by words or blank lines: zeros for the rest, applied once.
        {"#_CollVec //X 5", zeros},
        {"#_CollVec //X 5 a b c d e\n\n", zeros},
        // Binary bytes are words like any others, and a word ends at its first NUL byte.
        {binary + " #_CollVec //X 5", zeros},
        {std::string("#_CollVec\0junk //X 5", 20), zeros},
        // Vector is no number for //Position; it, 100 and 200 spend the next three steps.
        {"#_CollArc //Position Vector 100 200 //Radius 50 //Sector 3", arcEcho("50", '\0', '\0')},
        {"#_CollArc //Sector 271 //Flag -1", arcEcho("0", '\x0f', '\xff')},
        {"#_Player //Hp 5 //Ammo 1", playerEcho("5", "1", "0", '\0')},
        {"#_Player //Hp 5 100", playerEcho("100", "0", "0", '\0')},
        // The values of //Ammo stop at x, which spends a step, as does 3.
        {"#_Player //Ammo 1 x 3 //Score 4 //Hp 2", playerEcho("0", "1", "4", '\0')},
        // The gun type is the second raw byte after its key.
        {"#_Player //GunType  G //Hp 1 //Score 2 //Ammo 3", playerEcho("1", "0", "2", ' ')},
        {"#_Player //GunType\nG //Score 2", playerEcho("0", "0", "2", 'G')},
        {"#_Player //GunType\r\nG", playerEcho("0", "0", "0", '\n')},
        {"#_Player //GunType G", playerEcho("0", "0", "0", 'G')},
        {"#_Player //GunType ", playerEcho("0", "0", "0", '\0')},
        {"#_Player //GunType X //GunType ", playerEcho("0", "0", "0", 'X')},
        // A picture that cannot be loaded ends the program after its echo.
        {"#_Image nowhere.bmp #_CollVec //X 5",
         "Image\nImage File Load:\nnowhere.bmp\n[ImageLoadError]"},
        {"#_Image", "Image\nImage File Load:\n\n[ImageLoadError]"},
        {"#_TList //Image " + std::string(300, 'n') + " //Id 1 //Vector 2 3 //ImgId 4",
         "Tile\nId: 1\nVec: X2Vec: Y3\nimage: " + std::string(254, 'n') + "\n"},
    };
    for (const auto& [text, echo] : records) {
        SCOPED_TRACE(text.substr(0, 80));
        const LoadedLevel loaded = loadText(text, echo.rfind("File", 0) != 0);
        EXPECT_EQ(loaded.log, echo);
        Game& game = *loaded.game;
        EXPECT_EQ(game.lines.size() + game.arcs.size(), echo.find("\nCollision") == 0 ? 43u : 42u);
        EXPECT_TRUE(game.levelPictures().empty());
        EXPECT_EQ(std::make_pair(game.renderer.worldSize.x, game.renderer.worldSize.y),
                  std::make_pair(3000.0f, 680.0f));
    }
    const Vec2 size = loadText("#_Size 2000 x").game->renderer.worldSize;
    EXPECT_EQ(std::make_pair(size.x, size.y), std::make_pair(2000.0f, 0.0f));
}

} // namespace
