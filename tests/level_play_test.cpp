#include "level/LevelLoader.h"
#include "level/LevelReader.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string bundledLevelText()
{
    std::ifstream in(assetsDir() + "/Level.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// How often each header word stands in the text.
std::map<std::string, int> headerCounts(const std::string& text)
{
    std::map<std::string, int> counts;
    std::istringstream words(text);
    std::string word;
    LevelHeader header = LevelHeader::Objects;
    while (words >> word) {
        if (findHeader(word, header)) {
            ++counts[word];
        }
    }
    return counts;
}

// The bundled level loaded into a fresh headless world in a scratch folder.
class BundledLevel : public ::testing::Test {
protected:
    void SetUp() override { load(); }

    // A fresh world (ids and random draws as at start-up) with the bundled level read.
    void load()
    {
        scratch.write("Level.txt", bundledLevelText());
        game = makeHeadlessGame(scratch.path());
        ScopedWorkingDirectory inScratch(scratch.path());
        LogCapture log;
        loadLevel(*game);
        loadLog = log.text();
    }

    ScratchDirectory scratch;
    std::unique_ptr<Game> game;
    std::string loadLog;
};

TEST_F(BundledLevel, HoldsEveryKindOfRecordAndShowsOffEveryKindOfShape)
{
    const std::map<std::string, int> counts = headerCounts(bundledLevelText());
    for (const char* header : {"#_Image", "#_Size", "#_TList", "#_CollVec", "#_CollArc",
                               "#_Objects", "#_Events", "#_Player"}) {
        EXPECT_GE(counts.count(header), 1u) << header;
    }
    EXPECT_EQ(game->lines.size(), 36u + counts.at("#_CollVec"));
    EXPECT_EQ(game->arcs.size(), 6u + counts.at("#_CollArc"));
    EXPECT_EQ(game->levelPictures().size(), static_cast<size_t>(counts.at("#_Image")));
    EXPECT_EQ(game->renderer.worldSize.x, 3000.0f);
    EXPECT_EQ(game->renderer.worldSize.y, 680.0f);
    EXPECT_EQ(game->player.hp, 3);

    // Every record took exactly its own keys: each line and arc echo is complete.
    std::size_t echoes = 0;
    for (std::size_t at = loadLog.find("ID:"); at != std::string::npos;
         at = loadLog.find("ID:", at + 1)) {
        ++echoes;
    }
    EXPECT_EQ(echoes, static_cast<std::size_t>(counts.at("#_CollVec")));
    EXPECT_EQ(loadLog.find("ID:0\n"), std::string::npos);
    EXPECT_EQ(loadLog.find("Distance:0\n"), std::string::npos);

    // It shows off one-way platforms, a holding loop and an attraction ring.
    bool oneWay = false;
    for (std::size_t index = 36; index < game->lines.size(); ++index) {
        oneWay = oneWay || game->lines[index].type == 1;
    }
    bool holding = false;
    bool ring = false;
    for (std::size_t index = 6; index < game->arcs.size(); ++index) {
        const CollisionArc& arc = game->arcs[index];
        holding = holding || (arc.flag & (kArcHoldInside | kArcHoldOutside)) != 0;
        ring = ring || ((arc.flag & kArcAttractionRing) != 0 && arc.distance > 0.0f);
    }
    EXPECT_TRUE(oneWay);
    EXPECT_TRUE(holding);
    EXPECT_TRUE(ring);
}

// The pen keeps every placed picture inside its inner box, the kennel every enemy: their
// box centres never leave it.
void expectInside(const Entity& entity, float left, float top, float right, float bottom,
                  const char* where, int step)
{
    const Vec2 centre = entity.boxCentre();
    EXPECT_TRUE(centre.x > left && centre.x < right && centre.y > top && centre.y < bottom)
        << "Left the " << where << " at step " << step << ": (" << entity.x << ", " << entity.y
        << ").";
}

// What a run of the bundled level came to.
struct PlayResult {
    int steps = 0;
    int releases = 0;
    std::set<int32_t> firedAt;
};

// One shot at each hunter on screen that has not been shot at yet.
void shootHuntersOnScreen(Game& game, std::set<int32_t>& firedAt)
{
    for (const auto& target : game.enemies()) {
        const float windowX = target->x + 32.0f - game.renderer.camera.x;
        const float windowY = target->y + 32.0f - game.renderer.camera.y;
        const bool onScreen =
            windowX >= 0.0f && windowX < 640.0f && windowY >= 0.0f && windowY < 480.0f;
        if (onScreen && firedAt.insert(target->id).second) {
            game.inputQueue.push_back(mouseEvent(
                game, SDL_BUTTON_LEFT, static_cast<Uint16>(windowX), static_cast<Uint16>(windowY)));
        }
    }
}

void expectCaged(Game& game, int step)
{
    for (const auto& picture : game.levelPictures()) {
        expectInside(*picture, 96.0f, 11.0f, 206.0f, 250.0f, "pen", step);
    }
    for (const auto& enemy : game.enemies()) {
        expectInside(*enemy, 1850.0f, 92.0f, 2060.0f, 160.0f, "kennel", step);
    }
}

// A player who presses D at `pressStep` and holds it the whole way, lets go and presses it
// again when the avatar stands stuck, and shoots each caged hunter once when it is on
// screen past the foot of the ramp to the kennel. Every step, the critters must be in their
// pen and the hunters in their kennel.
PlayResult playThrough(Game& game, int pressStep)
{
    PlayResult result;
    Entity& avatar = game.avatar();
    Vec2 lastPlace = avatar.position();
    int lastMove = 0;
    bool held = false;
    int releasedAt = 0;
    for (; result.steps < 3000 && !(avatar.x > 2800.0f); ++result.steps) {
        const int step = result.steps;
        if (std::fabs(avatar.x - lastPlace.x) + std::fabs(avatar.y - lastPlace.y) > 8.0f) {
            lastPlace = avatar.position();
            lastMove = step;
        }
        const bool pressAgain = !held && step > pressStep && step > releasedAt + 2 &&
                                (avatar.inContact || step - releasedAt > 60);
        if (step == pressStep || pressAgain) {
            game.inputQueue.push_back(keyEvent(game, kKeyPressed, SDLK_d));
            held = true;
            lastMove = step;
        } else if (held && step - lastMove > 30) {
            game.inputQueue.push_back(keyEvent(game, kKeyReleased, SDLK_d));
            held = false;
            releasedAt = step;
            ++result.releases;
        }
        if (avatar.x >= 1700.0f) {
            shootHuntersOnScreen(game, result.firedAt);
        }
        EXPECT_TRUE(game.frameStep()) << "The avatar died at x " << avatar.x;
        expectCaged(game, step);
        if (::testing::Test::HasFailure()) {
            break;
        }
    }
    return result;
}

TEST_F(BundledLevel, CanBeWonByHoldingDWithoutLosingAHitPoint)
{
    // D pressed at once sends the avatar up against the pen and the ceiling, where the
    // player lets go; pressed after the fall it walks straight off.
    for (const int pressStep : {0, 60}) {
        load();
        ScopedWorkingDirectory inScratch(scratch.path());
        LogCapture log;
        std::set<int32_t> firstEnemies;
        for (const auto& enemy : game->enemies()) {
            firstEnemies.insert(enemy->id);
        }
        const PlayResult result = playThrough(*game, pressStep);
        const Entity& avatar = game->avatar();
        EXPECT_GT(avatar.x, 2800.0f) << "D pressed at step " << pressStep << ": stuck at ("
                                     << avatar.x << ", " << avatar.y << ").";
        EXPECT_LT(result.steps, 1500) << "D pressed at step " << pressStep;
        EXPECT_EQ(game->player.hp, 3);
        EXPECT_EQ(log.text().find("Collision Occured"), std::string::npos);
        EXPECT_LE(result.releases, 2) << "Holding D should carry the avatar nearly all the way.";
        // The shot emptied the kennel and a new hunter came, caged like the first two.
        EXPECT_GE(result.firedAt.size(), 2u);
        ASSERT_EQ(game->enemies().size(), 1u);
        EXPECT_EQ(firstEnemies.count(game->enemies().front()->id), 0u);
        if (HasFailure()) {
            return;
        }
    }
}

} // namespace
