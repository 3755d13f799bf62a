#include "physics/Vec2.h"

#include <cstdint>
#include <cstring>

namespace {

int32_t floatBits(float value)
{
    int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(int32_t bits)
{
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// One Newton step towards 1/sqrt(x). The step is evaluated in double precision and
// rounded to float only when stored; that rounding is what gives the game's figures.
float newtonStep(float y, float half)
{
    const double product = (static_cast<double>(half) * y) * y;
    return static_cast<float>(y * (1.5 - product));
}

} // namespace

float fastSqrt(float x)
{
    const float half = 0.5f * x;
    const float estimate = floatFromBits(0x5f3759df - (floatBits(x) >> 1));
    const float y = newtonStep(newtonStep(estimate, half), half);
    return x * y;
}

Vec2 normalized(Vec2 v)
{
    const float length = fastSqrt(lengthSquared(v));
    return Vec2{v.x / length, v.y / length};
}
