#include "gfx/PixelImage.h"

#include "gfx/Image.h"

#include <algorithm>
#include <cstddef>
#include <iostream>
#include <new>

void setRowAlpha(PixelImage& picture, int row, int a, int b)
{
    if (row < 0 || row >= picture.height) {
        return;
    }
    const int width = picture.width;
    const int x0 = std::clamp(std::min(a, b), 0, width);
    const int x1 = std::clamp(std::max(a, b), 0, width);
    uint32_t* pixels = picture.pixels.data() + static_cast<ptrdiff_t>(row) * width;
    for (int column = 0; column < width; ++column) {
        const bool opaque = column >= x0 && column < x1;
        pixels[column] =
            opaque ? (pixels[column] | kPixelAlphaMask) : (pixels[column] & ~kPixelAlphaMask);
    }
}

namespace {

int truncated(float value) { return static_cast<int>(value); }

// The four whole-row spans of the eight-way symmetric point (x, y) of the circle.
void applySpans(PixelImage& picture, float cx, float cy, float x, float y)
{
    setRowAlpha(picture, truncated(cy + x), truncated(cx - y), truncated(cx + y));
    setRowAlpha(picture, truncated(cy - x), truncated(cx - y), truncated(cx + y));
    setRowAlpha(picture, truncated(cy + y), truncated(cx - x), truncated(cx + x));
    setRowAlpha(picture, truncated(cy - y), truncated(cx - x), truncated(cx + x));
}

} // namespace

void applyDiscMask(PixelImage& picture)
{
    const float w = static_cast<float>(picture.width);
    const float h = static_cast<float>(picture.height);
    const float widened = (w - h) * 0.8f;
    const float sum = widened + h;
    const float radius = sum * 0.5f;
    const float cx = w * 0.5f;
    const float cy = h * 0.5f;
    const double radiusSquared = static_cast<double>(radius) * radius;

    float x = 0.0f;
    float y = radius;
    if (radius > 0.0f) {
        do {
            applySpans(picture, cx, cy, x, y);
            x = x + 1.0f;
            const float t = y - 0.5f;
            if (static_cast<double>(x * x + t * t) - radiusSquared >= 0.0) {
                y = y - 1.0f;
            }
        } while (y > x);
    }
    applySpans(picture, cx, cy, x, y);
}

int powerOfTwoAtLeast(int size)
{
    int power = 1;
    while (power < size && power < (1 << 30)) {
        power <<= 1;
    }
    return power;
}

bool powerOfTwoCopy(const PixelImage& picture, float coordinates[4], PixelImage& copy)
{
    const int textureWidth = powerOfTwoAtLeast(picture.width);
    const int textureHeight = powerOfTwoAtLeast(picture.height);
    coordinates[0] = 0.0f;
    coordinates[1] = 0.0f;
    coordinates[2] = static_cast<float>(picture.width) / static_cast<float>(textureWidth);
    coordinates[3] = static_cast<float>(picture.height) / static_cast<float>(textureHeight);
    try {
        copy.pixels.assign(static_cast<size_t>(textureWidth) * static_cast<size_t>(textureHeight),
                           0u);
    } catch (const std::bad_alloc&) {
        std::cout << kCopyFailedLine << std::endl;
        return false;
    }
    copy.width = textureWidth;
    copy.height = textureHeight;
    for (int row = 0; row < picture.height; ++row) {
        const auto source = picture.pixels.begin() + static_cast<ptrdiff_t>(row) * picture.width;
        std::copy(source, source + picture.width,
                  copy.pixels.begin() + static_cast<ptrdiff_t>(row) * textureWidth);
    }
    return true;
}
