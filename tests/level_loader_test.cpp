#include "level/LevelLoader.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>

namespace {

const char* const kNoAlphaLine = "No alpha mask, converting pixel format to add alpha\n";

// A headless world built in a scratch folder whose Level.txt holds `text`, after loadLevel.
struct LoadedLevel {
    std::unique_ptr<Game> game;
    std::string log;
};

LoadedLevel loadText(const ScratchDirectory& scratch, const std::string& text)
{
    scratch.write("Level.txt", text);
    LoadedLevel loaded;
    loaded.game = makeHeadlessGame(scratch.path());
    ScopedWorkingDirectory inScratch(scratch.path());
    LogCapture log;
    loadLevel(*loaded.game);
    loaded.log = log.text();
    return loaded;
}

LoadedLevel loadText(const std::string& text)
{
    const ScratchDirectory scratch;
    return loadText(scratch, text);
}

std::string lineEcho(const std::string& x, const std::string& y, const std::string& dx,
                     const std::string& dy, char type, const std::string& id)
{
    return "\nCollision Vector Data Loaded\nX Position:" + x + "\nY Position:" + y + "\nDX:" + dx +
           "\nDY:" + dy + "\nType:" + std::string(1, type) + "\nID:" + id + "\n";
}

void expectBuiltinSceneOnly(Game& game)
{
    EXPECT_EQ(game.lines.size(), 36u);
    EXPECT_EQ(game.arcs.size(), 6u);
    EXPECT_TRUE(game.levelPictures().empty());
    EXPECT_EQ(game.renderer.worldSize.x, 3000.0f);
    EXPECT_EQ(game.renderer.worldSize.y, 680.0f);
}

TEST(LevelLoader, ReportsAMissingFileAndKeepsTheBuiltinScene)
{
    const ScratchDirectory scratch;
    const auto game = makeHeadlessGame(scratch.path());
    ScopedWorkingDirectory inScratch(scratch.path());
    LogCapture log;
    loadLevel(*game);
    EXPECT_EQ(log.text(), "File Failed to load....\n");
    expectBuiltinSceneOnly(*game);
}

TEST(LevelLoader, EchoesOneRecordOfEachKindByteForByte)
{
    const LoadedLevel loaded =
        loadText("#_Size 4000 680\n"
                 "#_Image bitmap2.bmp\n"
                 "#_CollVec\n"
                 "//X 0 //Y 600 //Dx 3000 //Dy 0 //Type 2 //ID 1\n"
                 "#_CollArc\n"
                 "//Position 500 400 //Radius 120 //Sector 3 //flag 2 //speed/distance 50 10\n"
                 "#_Player\n"
                 "//Hp 5 //Ammo 10 20 30 //Score 0 //GunType G\n"
                 "#_TList //Image tile.bmp //Id -1 //Vector 1234567 0.5 //ImgId 3\n"
                 "#_Objects #_Events\n");
    const std::string expected =
        std::string("Image\nImage File Load:\nbitmap2.bmp\n") + kNoAlphaLine +
        lineEcho("0", "600", "3000", "0", '\x02', "1") +
        "\nCollision Arc Data Loaded\nPosition Vector: \nX:500\nY:400\nRadius:120\n"
        "Quadrant:\x03\nFlag:\x02\nMinimum Speed:50\nDistance:10\n"
        "\nPlayer\nHp: 5\nAmmoG: 10\nAmmoF: 20\nAmmoB: 30\nInputScore: 0\n"
        "Current Gun Type: G\n"
        "Tile\nId: 4294967295\nVec: X1.23457e+06Vec: Y0.5\nimage: tile.bmp\n";
    EXPECT_EQ(loaded.log, expected);

    Game& game = *loaded.game;
    EXPECT_EQ(game.renderer.worldSize.x, 4000.0f);
    ASSERT_EQ(game.lines.size(), 37u);
    const CollisionVector& line = game.lines.back();
    EXPECT_EQ(std::make_tuple(line.x, line.y, line.dx, line.dy, line.type, line.id),
              std::make_tuple(0.0f, 600.0f, 3000.0f, 0.0f, uint8_t{2}, 1u));
    EXPECT_NEAR(line.ny, 1.0f, 1e-4f);
    ASSERT_EQ(game.arcs.size(), 7u);
    const CollisionArc& arc = game.arcs.back();
    EXPECT_EQ(std::make_tuple(arc.x, arc.y, arc.radius, arc.quadrant, arc.flag, arc.minSpeed,
                              arc.distance),
              std::make_tuple(500.0f, 400.0f, 120.0f, uint8_t{3}, uint8_t{2}, 50.0f, 10.0f));
    EXPECT_EQ(game.levelPictures().size(), 1u);
    // The file's player is only shown.
    EXPECT_EQ(game.player.hp, 3);
    EXPECT_EQ(game.player.weapons.size(), 1u);
    EXPECT_EQ(game.tiles.size(), 1u);
}

TEST(LevelLoader, SkipsFreeTextAndHeadersInAnotherCase)
{
    const LoadedLevel loaded =
        loadText("My level. It has no records at all, only notes.\n"
                 "#_collvec //X 5 //Y 5 //Dx 5 //Dy 5 //Type 3 //ID 1\n"
                 "#_SIZE 10 10 #_image bitmap2.bmp #_Collarc //Radius 5 Image Size TList\n");
    EXPECT_EQ(loaded.log, "");
    expectBuiltinSceneOnly(*loaded.game);
}

TEST(LevelLoader, LetsTheLaterOfTwoSizesWin)
{
    const LoadedLevel loaded = loadText("#_Size 4000 800 note #_Size 3500 700\n");
    EXPECT_EQ(loaded.log, "");
    EXPECT_EQ(loaded.game->renderer.worldSize.x, 3500.0f);
    EXPECT_EQ(loaded.game->renderer.worldSize.y, 700.0f);
}

TEST(LevelLoader, SpendsAStepOnAnUnknownKeyAndSkipsWhatIsLeftOver)
{
    const LoadedLevel loaded =
        loadText("#_CollVec\n//X 10 //Y 20 //Foo //Dx 5 //Dy 6 //Type 1 //ID 9\n");
    EXPECT_EQ(loaded.log, lineEcho("10", "20", "5", "6", '\x01', "0"));
    ASSERT_EQ(loaded.game->lines.size(), 37u);
    EXPECT_EQ(loaded.game->lines.back().id, 0u);
}

TEST(LevelLoader, BuildsARecordCutShortWithZeros)
{
    for (const char* text :
         {"#_CollVec //X 5", "#_CollVec //X 5 a b c d e\n\n", "#_CollVec\r\n//X 5\r\n\r\n\r\n"}) {
        const LoadedLevel loaded = loadText(text);
        EXPECT_EQ(loaded.log, lineEcho("5", "0", "0", "0", '\0', "0")) << text;
        ASSERT_EQ(loaded.game->lines.size(), 37u) << text;
        EXPECT_EQ(loaded.game->lines.back().x, 5.0f);
    }
    const LoadedLevel arc = loadText("#_CollArc //Radius 7");
    EXPECT_EQ(arc.log, "\nCollision Arc Data Loaded\nPosition Vector: \nX:0\nY:0\nRadius:7\n"
                       "Quadrant:" +
                           std::string(1, '\0') + "\nFlag:" + std::string(1, '\0') +
                           "\nMinimum Speed:0\nDistance:0\n");
    EXPECT_EQ(arc.game->arcs.size(), 7u);
    const LoadedLevel player = loadText("#_Player //Hp 4");
    EXPECT_EQ(player.log, "\nPlayer\nHp: 4\nAmmoG: 0\nAmmoF: 0\nAmmoB: 0\nInputScore: 0\n"
                          "Current Gun Type: " +
                              std::string(1, '\0') + "\n");
    const LoadedLevel size = loadText("#_Size 2000");
    EXPECT_EQ(size.game->renderer.worldSize.x, 2000.0f);
    EXPECT_EQ(size.game->renderer.worldSize.y, 0.0f);
}

TEST(LevelLoader, ReadsCarriageReturnLineEndsLikePlainOnes)
{
    const std::string plain =
        "Note\n#_CollVec\n//X 1 //Y 2 //Dx 3 //Dy 4 //Type 258 //ID -1\n"
        "#_CollArc //Position 1 2\n//Radius 3 //Sector -1 //Flag 21 //speed/distance -1 60\n"
        "#_Player //Hp 5 100 //Ammo 1 2 3 //Score 7 //GunType Z\n"
        "#_TList //Image a.bmp //Id 4 //Vector 5 6 //ImgId 7\n";
    std::string crlf;
    for (char byte : plain) {
        crlf += byte == '\n' ? std::string("\r\n") : std::string(1, byte);
    }
    const LoadedLevel fromPlain = loadText(plain);
    const LoadedLevel fromCrlf = loadText(crlf);
    EXPECT_EQ(fromCrlf.log, fromPlain.log);
    EXPECT_EQ(fromPlain.log,
              lineEcho("1", "2", "3", "4", '\x02', "4294967295") +
                  "\nCollision Arc Data Loaded\nPosition Vector: \nX:1\nY:2\nRadius:3\n"
                  "Quadrant:\xff\nFlag:\x15\nMinimum Speed:-1\nDistance:60\n"
                  "\nPlayer\nHp: 100\nAmmoG: 1\nAmmoF: 2\nAmmoB: 3\nInputScore: 7\n"
                  "Current Gun Type: Z\n"
                  "Tile\nId: 4\nVec: X5Vec: Y6\nimage: a.bmp\n");
    EXPECT_EQ(fromCrlf.game->lines.size(), 37u);
    EXPECT_EQ(fromCrlf.game->arcs.size(), 7u);
}

TEST(LevelLoader, CutsAWordOf300CharactersAndDropsItsTail)
{
    const std::string name(300, 'n');
    const LoadedLevel tile =
        loadText("#_TList //Image " + name + " //Id 1 //Vector 2 3 //ImgId 4\n");
    EXPECT_EQ(tile.log, "Tile\nId: 1\nVec: X2Vec: Y3\nimage: " + name.substr(0, 254) + "\n");

    // The tail of a long note is not a word of its own, even when it reads like a header.
    const LoadedLevel note = loadText(std::string(294, 'a') + "#_Size 100 200\n");
    EXPECT_EQ(note.game->renderer.worldSize.x, 3000.0f);
    EXPECT_EQ(note.game->renderer.worldSize.y, 680.0f);
}

TEST(LevelLoader, PlacesAPictureAsAMovingEntityWithTheNextTwoRandomDraws)
{
    // The built-in scene drew six numbers; the picture's direction takes the next two.
    resetProcessState();
    for (int draw = 0; draw < 6; ++draw) {
        std::rand();
    }
    const float directionX = static_cast<float>(std::rand() % 10 - 5);
    const float directionY = static_cast<float>(std::rand() % 10 - 5);
    const Entity expected(200.0f, 100.0f, 150.0f, 64.0f, 64.0f, directionX, directionY);

    const LoadedLevel loaded = loadText("#_Image bitmap2.bmp");
    EXPECT_EQ(loaded.log, std::string("Image\nImage File Load:\nbitmap2.bmp\n") + kNoAlphaLine);
    ASSERT_EQ(loaded.game->levelPictures().size(), 1u);
    const Entity& picture = *loaded.game->levelPictures().front();
    EXPECT_EQ(picture.id, 13);
    EXPECT_EQ(picture.imageIds, std::vector<int32_t>{picture.id + 1});
    EXPECT_EQ(loaded.game->renderer.images.back().id, picture.id + 1);
    EXPECT_EQ(
        std::make_tuple(picture.x, picture.y, picture.width, picture.height, picture.speed,
                        picture.radius, picture.dirX, picture.dirY),
        std::make_tuple(100.0f, 150.0f, 64.0f, 64.0f, 200.0f, 32.0f, expected.dirX, expected.dirY));
}

TEST(LevelLoader, EndsWithThePictureErrorAfterTheEchoWhenAPictureIsMissing)
{
    const ScratchDirectory scratch;
    scratch.write("Level.txt", "#_Size 100 100 #_Image nowhere.bmp #_Size 200 200");
    const auto game = makeHeadlessGame(scratch.path());
    ScopedWorkingDirectory inScratch(scratch.path());
    LogCapture log;
    EXPECT_THROW(loadLevel(*game), ImageLoadError);
    EXPECT_EQ(log.text(), "Image\nImage File Load:\nnowhere.bmp\n");
    EXPECT_EQ(game->renderer.worldSize.x, 100.0f);
    EXPECT_TRUE(game->levelPictures().empty());

    game->renderer.worldSize = Vec2{3000.0f, 680.0f};
    scratch.write("Level.txt", "#_Image");
    log.clear();
    EXPECT_THROW(loadLevel(*game), ImageLoadError);
    EXPECT_EQ(log.text(), "Image\nImage File Load:\n\n");
}

bool isFinite(const Entity& entity)
{
    return std::isfinite(entity.x) && std::isfinite(entity.y) && std::isfinite(entity.dirX) &&
           std::isfinite(entity.dirY) && std::isfinite(entity.speed);
}

// "%f" reads "nan" and "inf" as numbers, and the loader builds what the file says: shapes
// with such numbers fail every contact test, so nothing ever touches them.
TEST(LevelLoader, BuildsShapesOfNumbersThatAreNoNumbersWhichNothingTouches)
{
    const LoadedLevel loaded = loadText(
        "#_CollVec //X nan //Y 300 //Dx 3000 //Dy 0 //Type 3 //ID 1\n"
        "#_CollVec //X 0 //Y 300 //Dx inf //Dy 0 //Type 3 //ID 2\n"
        "#_CollVec //X -inf //Y 100 //Dx 0 //Dy 300 //Type 3 //ID 3\n"
        "#_CollArc //Position 300 300 //Radius nan //Sector 15 //Flag 31 //speed/distance -1 9\n"
        "#_CollArc //Position inf 300 //Radius 100 //Sector 15 //Flag 31 //speed/distance -1 60\n"
        "#_CollArc //Position 300 300 //Radius -inf //Sector 15 //Flag 31 "
        "//speed/distance -1 inf\n");
    EXPECT_EQ(loaded.log.substr(0, lineEcho("nan", "300", "3000", "0", '\x03', "1").size()),
              lineEcho("nan", "300", "3000", "0", '\x03', "1"));
    EXPECT_NE(loaded.log.find("\nRadius:-inf\n"), std::string::npos);
    Game& game = *loaded.game;
    ASSERT_EQ(game.lines.size(), 39u);
    ASSERT_EQ(game.arcs.size(), 9u);
    game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_d));
    LogCapture quiet;
    for (int step = 0; step < 600; ++step) {
        game.frameStep();
        for (const EntityList& list : game.entityLists) {
            for (const auto& entity : list) {
                ASSERT_TRUE(isFinite(*entity)) << "Entity " << entity->id << " at step " << step;
            }
        }
    }
}

TEST(LevelLoader, ReadsFromMemoryAsFromTheFile)
{
    const std::string text = "#_CollVec //X 1 //Y 2 //Dx 3 //Dy 4 //Type 3 //ID 5";
    const auto game = makeHeadlessGame();
    CharSource source(text.data(), text.size());
    LogCapture log;
    readLevel(*game, source);
    EXPECT_EQ(log.text(), lineEcho("1", "2", "3", "4", '\x03', "5"));
    EXPECT_EQ(game->lines.size(), 37u);
}

} // namespace
