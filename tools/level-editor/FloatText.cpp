#include "tools/level-editor/FloatText.h"

#include "level/CharSource.h"
#include "level/FormattedRead.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

uint32_t bitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The same float, bit for bit: -0 is not 0.
bool sameFloat(float a, float b) { return bitsOf(a) == bitsOf(b); }

// The number with `digits` significant digits, without an exponent.
std::string positional(float value, int digits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, static_cast<double>(value));
    const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    const int decimals = digits - 1 - exponent;
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals > 0 ? decimals : 0,
                  static_cast<double>(value));
    return buffer;
}

// The number with `digits` significant digits as "%g" writes it, trailing zeros dropped.
std::string general(float value, int digits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(value));
    return buffer;
}

} // namespace

bool readsAs(const std::string& text, float& value)
{
    CharSource source(text.data(), text.size());
    return readFloat(source, value);
}

std::string floatText(float value)
{
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    for (int digits = 1; digits <= 9; ++digits) {
        std::string shortest = general(value, digits);
        float read = 0.0f;
        if (!readsAs(shortest, read) || !sameFloat(read, value)) {
            continue;
        }
        // The same digits without an exponent, when that is not longer.
        if (shortest.find('e') != std::string::npos) {
            std::string plain = positional(value, digits);
            if (plain.size() <= shortest.size() && readsAs(plain, read) && sameFloat(read, value)) {
                return plain;
            }
        }
        return shortest;
    }
    return general(value, 9);
}
