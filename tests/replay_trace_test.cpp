#include "support/TestWorld.h"
#include "tools/replay/TraceWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>
#include <vector>

namespace {

float floatFromBits(uint32_t bits)
{
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint32_t bitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TraceFloat, NineSignificantDigitsThatReadBackExactly)
{
    EXPECT_EQ(traceFloat(0.1f), "0.100000001");
    EXPECT_EQ(traceFloat(50.0f), "50");
    EXPECT_EQ(traceFloat(299.99973f), "299.999725");
    EXPECT_EQ(traceFloat(1.0e-20f), "9.99999968e-21");
    for (const uint32_t bits : {0x3f7fffb8u, 0x4395fff7u, 0x00000001u, 0x7f7fffffu, 0xbf3504f3u}) {
        const float value = floatFromBits(bits);
        EXPECT_EQ(bitsOf(std::strtof(traceFloat(value).c_str(), nullptr)), bits)
            << traceFloat(value);
    }
}

TEST(TraceFloat, NegativeZeroAndEveryNaNAreSpelledOneWay)
{
    EXPECT_EQ(traceFloat(0.0f), "0");
    EXPECT_EQ(traceFloat(-0.0f), "-0");
    EXPECT_EQ(traceFloat(std::numeric_limits<float>::quiet_NaN()), "nan");
    EXPECT_EQ(traceFloat(-std::numeric_limits<float>::quiet_NaN()), "nan");
    EXPECT_EQ(traceFloat(floatFromBits(0xffc00001u)), "nan");
    EXPECT_EQ(traceFloat(floatFromBits(0x7f800001u)), "nan");
    EXPECT_EQ(traceFloat(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(traceFloat(-std::numeric_limits<float>::infinity()), "-inf");
}

TEST(TraceWriter, StepZeroListsTheEntitiesThenTheLevel)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    std::ostringstream out;
    TraceWriter(out).writeStart(*world);
    const std::vector<std::string> lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 2u + 3u + 36u + 6u);
    EXPECT_EQ(lines[0], "step 0 hp 3");
    EXPECT_EQ(lines[1], "c 0 0");
    EXPECT_EQ(lines[2].rfind("e 1 3 50 50 ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[2].substr(lines[2].size() - 6), " 200 0");
    EXPECT_EQ(lines[3], "e 2 4 1900 100 0.707106829 0.707106829 0 0");
    EXPECT_EQ(lines[4], "e 2 5 1950 100 0.707106829 0.707106829 0 0");
    EXPECT_EQ(lines[5], "l 50 470 200 -60 0.287349135 0.957830429 3 0");
    EXPECT_EQ(lines[11], "l 300 310 500 0 -0 1.00000429 1 0");
    EXPECT_EQ(lines[41], "a 400 210 200 13 15 60 -1");
    EXPECT_EQ(lines[46], "a 1400 360 100 1 10 60 -1");
}

TEST(TraceWriter, BitsAreDecimalIdsUnsignedAndAZeroLineHasNoNormal)
{
    std::unique_ptr<Game> world = makeHeadlessGame();
    world->lines.clear();
    world->arcs.clear();
    world->lines.emplace_back(5.0f, 0.0f, 0.0f, 0.0f, uint8_t{255}, 4294967295u);
    world->arcs.push_back(CollisionArc{1.5f, -2.0f, 3.0f, 255, 200, -0.0f, 1e10f});
    world->player.hp = -2;
    world->renderer.camera = Vec2{-4.0f, 2360.5f};
    std::ostringstream out;
    TraceWriter(out).writeStart(*world);
    const std::vector<std::string> lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 2u + 3u + 1u + 1u);
    EXPECT_EQ(lines[0], "step 0 hp -2");
    EXPECT_EQ(lines[1], "c -4 2360.5");
    EXPECT_EQ(lines[5], "l 5 0 0 0 nan nan 255 4294967295");
    EXPECT_EQ(lines[6], "a 1.5 -2 3 255 200 -0 1e+10");
}

} // namespace
