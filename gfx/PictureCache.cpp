#include "gfx/PictureCache.h"

#include <iostream>

namespace {

int64_t texturePixels(int width, int height)
{
    return static_cast<int64_t>(powerOfTwoAtLeast(width)) * powerOfTwoAtLeast(height);
}

} // namespace

PictureFileStamp stampOf(const std::string& name, const struct stat& status)
{
    PictureFileStamp stamp;
    stamp.name = name;
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.size = status.st_size;
    stamp.modifiedSeconds = status.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = status.st_mtim.tv_nsec;
    return stamp;
}

void SharedPicture::repeatLog() const
{
    if (convertedToRgba) {
        std::cout << kNoAlphaLine << std::endl;
    }
    if (copyFailed) {
        std::cout << kCopyFailedLine << std::endl;
    }
}

const SharedPicture* PictureCache::find(const PictureFileStamp& stamp) const
{
    const auto found = pictures.find(stamp);
    return found == pictures.end() ? nullptr : &found->second;
}

std::string PictureCache::budgetRefusal(int width, int height) const
{
    const int64_t pixels = texturePixels(width, height);
    if (held + pixels <= kPixelBudget) {
        return "";
    }
    return "its texture of " + std::to_string(pixels) + " pixels would bring all pictures to " +
           std::to_string(held + pixels) + "; at most " + std::to_string(kPixelBudget);
}

void PictureCache::holdPixels(int width, int height) { held += texturePixels(width, height); }

void PictureCache::keep(const PictureFileStamp& stamp, const SharedPicture& picture)
{
    pictures.emplace(stamp, picture);
}
