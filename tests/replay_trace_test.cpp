// The trace's own spelling of numbers and of odd values; the blocks of ordinary runs are
// pinned by the golden traces of the replay tool's tests.

#include "support/TestWorld.h"
#include "tools/replay/TraceWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

namespace {

float floatFromBits(uint32_t bits)
{
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

TEST(TraceFloat, NineSignificantDigitsThatReadBackExactlyAndOneSpellingForZerosAndNaNs)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, const char*> rows[] = {
        {0.1f, "0.100000001"},
        {50.0f, "50"},
        {299.99973f, "299.999725"},
        {1.0e-20f, "9.99999968e-21"},
        {0.0f, "0"},
        {-0.0f, "-0"},
        {nan, "nan"},
        {-nan, "nan"},
        {floatFromBits(0xffc00001u), "nan"},
        {floatFromBits(0x7f800001u), "nan"},
        {inf, "inf"},
        {-inf, "-inf"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(traceFloat(value), text);
    }
    for (const uint32_t bits : {0x3f7fffb8u, 0x4395fff7u, 0x00000001u, 0x7f7fffffu, 0xbf3504f3u}) {
        const std::string text = traceFloat(floatFromBits(bits));
        const float back = std::strtof(text.c_str(), nullptr);
        EXPECT_EQ(std::memcmp(&back, &bits, sizeof bits), 0) << text;
    }
}

TEST(TraceWriter, StepZeroWritesBytesAsDecimalsIdsUnsignedAndAZeroLinesNormalAsNan)
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
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("step 0 hp -2\nc -4 2360.5\ne 1 3 50 50 ", 0), 0u) << text;
    const std::string level = "l 5 0 0 0 nan nan 255 4294967295\na 1.5 -2 3 255 200 -0 1e+10\n";
    EXPECT_EQ(text.substr(text.size() - level.size()), level) << text;
}

} // namespace
