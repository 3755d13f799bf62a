#include "level/LevelLoader.h"
#include "support/ReplayRun.h"
#include "support/TestWorld.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

// A fresh world (ids and random draws as at start-up) with the bundled level loaded.
std::unique_ptr<Game> bundledLevelWorld()
{
    auto game = makeHeadlessGame();
    ScopedWorkingDirectory inAssets(assetsDir());
    LogCapture quiet;
    loadLevel(*game);
    return game;
}

TEST(BundledLevel, HoldsEveryKindOfRecordAndShowsOffEveryKindOfShape)
{
    std::map<std::string, std::size_t> words;
    std::istringstream text(readWholeFile(assetsDir() + "/Level.txt"));
    for (std::string word; text >> word;) {
        ++words[word];
    }
    for (const char* name : {"#_Image", "#_Size", "#_TList", "#_CollVec", "#_CollArc", "#_Objects",
                             "#_Events", "#_Player"}) {
        EXPECT_GE(words[name], 1u) << name;
    }
    // Every record spells out all its keys: one short of a key would take the next header.
    const auto game = bundledLevelWorld();
    EXPECT_EQ(game->lines.size(), 36u + words["#_CollVec"]);
    EXPECT_EQ(game->arcs.size(), 6u + words["#_CollArc"]);

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
    EXPECT_TRUE(oneWay && holding && ring)
        << "One-way " << oneWay << ", holding " << holding << ", ring " << ring << ".";
}

bool inside(const Entity& entity, float left, float top, float right, float bottom)
{
    const Vec2 centre = entity.boxCentre();
    return centre.x > left && centre.x < right && centre.y > top && centre.y < bottom;
}

// A player waits for the avatar to drop to the ground, then holds D all the way and shoots
// each hunter once when it is on screen past the foot of the ramp to the kennel. Every step,
// the critters must stay in their pen and the hunters in their kennel.
TEST(BundledLevel, CanBeWonByHoldingDWithoutLosingAHitPoint)
{
    const auto game = bundledLevelWorld();
    ScopedWorkingDirectory inAssets(assetsDir());
    LogCapture log;
    const int32_t lastFirstEnemy = game->enemies().back()->id;
    const Entity& avatar = game->avatar();
    std::set<int32_t> firedAt;
    for (int step = 0; step < 1500 && !(avatar.x > 2800.0f) && !HasFailure(); ++step) {
        if (step == 60) {
            game->inputQueue.push_back(keyEvent(*game, kKeyPressed, SDLK_d));
        }
        for (const auto& target : game->enemies()) {
            const Vec2 at = target->boxCentre() - game->renderer.camera;
            const bool onScreen = at.x >= 0.0f && at.x < 640.0f && at.y >= 0.0f && at.y < 480.0f;
            if (avatar.x >= 1700.0f && onScreen && firedAt.insert(target->id).second) {
                game->inputQueue.push_back(mouseEvent(
                    *game, SDL_BUTTON_LEFT, static_cast<Uint16>(at.x), static_cast<Uint16>(at.y)));
            }
        }
        EXPECT_TRUE(game->frameStep()) << "The avatar died at x " << avatar.x;
        for (const auto& picture : game->levelPictures()) {
            EXPECT_TRUE(inside(*picture, 96.0f, 11.0f, 206.0f, 250.0f))
                << "A critter left the pen at step " << step << ".";
        }
        for (const auto& enemy : game->enemies()) {
            EXPECT_TRUE(inside(*enemy, 1850.0f, 92.0f, 2060.0f, 160.0f))
                << "A hunter left the kennel at step " << step << ".";
        }
    }
    EXPECT_GT(avatar.x, 2800.0f) << "Stuck at (" << avatar.x << ", " << avatar.y << ").";
    EXPECT_EQ(game->player.hp, 3);
    EXPECT_EQ(log.text().find("Collision Occured"), std::string::npos);
    // The shots emptied the kennel and a new hunter came, caged like the first two.
    EXPECT_GE(firedAt.size(), 2u);
    ASSERT_EQ(game->enemies().size(), 1u);
    EXPECT_GT(game->enemies().front()->id, lastFirstEnemy);
}

} // namespace
