// The indexes of large levels change nothing: the indexed level pass gives the worlds of the plain
// walk over every shape, bit for bit; the picture index the first record of an id.

#include "gfx/ImageIndex.h"
#include "support/TestWorld.h"
#include "workspace/PlainLevelPass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

// One in `oneIn` values is odd (huge, infinite, not a number, tiny, zero); the rest lie in lo..hi.
float randomValue(std::mt19937& random, float lo, float hi, int oneIn = 40)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float odd[] = {1e30f, -1e30f, 3e38f, inf, -inf, std::nanf(""), 1e-30f, 0.0f, -0.0f};
    const int roll = std::uniform_int_distribution<int>(0, oneIn * 9 - 1)(random);
    return roll < 9 ? odd[roll] : std::uniform_real_distribution<float>(lo, hi)(random);
}

// Lines and arcs of random size, place and bits, some as wide as the world or of zero length,
// and level pictures at random places heading in random directions.
void addRandomLevel(Game& game, std::mt19937& random, int shapes, int pictures)
{
    std::uniform_int_distribution<int> bits(0, 255);
    for (int i = 0; i < shapes; ++i) {
        const float size = bits(random) < 16 ? 4000.0f : (bits(random) < 16 ? 0.0f : 250.0f);
        game.lines.emplace_back(randomValue(random, -300, 3300), randomValue(random, -200, 900),
                                randomValue(random, -size, size), randomValue(random, -size, size),
                                static_cast<uint8_t>(bits(random) % 4), 0u);
        game.addArc(CollisionArc{randomValue(random, -300, 3300), randomValue(random, -200, 900),
                                 randomValue(random, -20, 300), static_cast<uint8_t>(bits(random)),
                                 static_cast<uint8_t>(bits(random)), randomValue(random, -50, 400),
                                 randomValue(random, -50, 250)});
    }
    for (int i = 0; i < pictures; ++i) {
        const float far = bits(random) < 8 ? 1e6f : 1.0f;
        auto within = [&](float lo, float hi) {
            return std::uniform_real_distribution<float>(lo, hi)(random);
        };
        game.levelPictures().push_back(std::make_unique<Entity>(
            within(0, 400), far * within(-100, 3100), far * within(-100, 700), 64.0f, 64.0f,
            within(-5, 5), within(-5, 5)));
    }
}

// Every entity's place, direction, speed and contact flag as bits, and the hit points.
std::vector<uint32_t> stateBits(Game& game)
{
    std::vector<uint32_t> state{static_cast<uint32_t>(game.player.hp)};
    for (const EntityList& list : game.entityLists) {
        for (const auto& entity : list) {
            for (const float value :
                 {entity->x, entity->y, entity->dirX, entity->dirY, entity->speed}) {
                uint32_t bits = 0;
                std::memcpy(&bits, &value, sizeof bits);
                state.push_back(bits);
            }
            state.push_back(entity->inContact ? 1u : 0u);
        }
    }
    return state;
}

TEST(LevelIndex, TheIndexedStepMatchesThePlainWalkOnRandomLevelsBitForBit)
{
    LogCapture discarded;
    for (const unsigned seed : {1u, 2u, 3u}) {
        resetProcessState();
        const auto indexed = makeHeadlessGame();
        resetProcessState();
        const auto plain = makeHeadlessGame();
        std::mt19937 levelA(seed), levelB(seed), input(seed);
        const SDLKey keys[] = {SDLK_a, SDLK_d, SDLK_SPACE};
        // More shapes and pictures arrive while the world runs; once the lines come in reverse.
        for (int round = 0; round < 3; ++round) {
            for (Game* game : {indexed.get(), plain.get()}) {
                const std::vector<CollisionVector> lines(game->lines.begin(), game->lines.end());
                if (round == 1) {
                    game->lines.assign(lines.rbegin(), lines.rend());
                }
            }
            addRandomLevel(*indexed, levelA, 60 + 100 * round, 10);
            addRandomLevel(*plain, levelB, 60 + 100 * round, 10);
            for (int step = 0; step < 700; ++step) {
                const int roll = std::uniform_int_distribution<int>(0, 19)(input);
                if (roll < 5) {
                    const int32_t kind = roll < 3 ? kKeyPressed : kKeyReleased;
                    indexed->inputQueue.push_back(keyEvent(*indexed, kind, keys[roll % 3]));
                    plain->inputQueue.push_back(keyEvent(*plain, kind, keys[roll % 3]));
                }
                indexed->frameStep();
                plainFrameStep(*plain);
                ASSERT_EQ(stateBits(*indexed), stateBits(*plain))
                    << "seed " << seed << ", round " << round << ", step " << step;
            }
        }
    }
}

TEST(ImageIndex, FindsTheFirstRecordWithTheIdAsTheTableGrows)
{
    std::vector<ImageRecord> images(2);
    ImageIndex index;
    EXPECT_EQ(std::make_tuple(index.find(images, 0), index.find(images, 9)),
              std::make_tuple(0, -1));
    for (const int32_t id : {9, 0, 9}) {
        images.push_back(ImageRecord{0, 0, 0, 0, 0, id});
    }
    EXPECT_EQ(std::make_tuple(index.find(images, 0), index.find(images, 9)), std::make_tuple(0, 2));
}

} // namespace
