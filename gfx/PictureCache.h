#pragma once

#include "gfx/Image.h"

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

// A picture file as it stood when it was loaded: its name as given, and the file system's
// word on which file that is and on its size and last change. A file rewritten since is
// another picture.
struct PictureFileStamp {
    std::string name;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    bool operator<(const PictureFileStamp& other) const
    {
        return std::tie(name, device, inode, size, modifiedSeconds, modifiedNanoseconds) <
               std::tie(other.name, other.device, other.inode, other.size, other.modifiedSeconds,
                        other.modifiedNanoseconds);
    }
};

PictureFileStamp stampOf(const std::string& name, const struct stat& status);

// What one load of a picture file made and wrote: the texture (0 when headless or when the
// copy failed) with the part of it the picture covers, and the lines the load put on the log.
struct SharedPicture {
    ImageRecord record;           // its id is not used: every load has its own
    bool convertedToRgba = false; // the load wrote kNoAlphaLine
    bool copyFailed = false;      // the load wrote kCopyFailedLine

    // Writes the load's log lines again, for a later load that shares the picture.
    void repeatLog() const;
};

// The pictures of the renderer, shared by every load of the same unchanged file, and the
// pixel budget of all pictures together: the textures of every picture loaded (the power-of-two
// sizes, as uploaded) may hold at most 256 Mi pixels.
class PictureCache {
public:
    static constexpr int64_t kPixelBudget = int64_t{1} << 28;

    // The picture of an earlier load of this file, or null.
    const SharedPicture* find(const PictureFileStamp& stamp) const;

    // Why a picture of this size no longer fits in the budget, or "" when it does.
    std::string budgetRefusal(int width, int height) const;

    // Counts the texture of a picture of this size against the budget.
    void holdPixels(int width, int height);

    // Keeps the picture of a load for every later load of the same file.
    void keep(const PictureFileStamp& stamp, const SharedPicture& picture);

    int64_t pixelsHeld() const { return held; }

private:
    std::map<PictureFileStamp, SharedPicture> pictures;
    int64_t held = 0;
};
