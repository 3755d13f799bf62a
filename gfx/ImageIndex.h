#pragma once

#include "gfx/Image.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Where in the image table the first record of each id sits, so that drawing finds a picture
// without walking the table. Records are only ever appended to the table (each load appends
// one); the index takes in the new ones at the next look-up, and starts afresh if the table
// ever got shorter.
class ImageIndex {
public:
    // Index of the first record with that id, or -1.
    int find(const std::vector<ImageRecord>& images, int32_t id);

private:
    std::unordered_map<int32_t, int> firstIndex;
    size_t indexed = 0;
};
