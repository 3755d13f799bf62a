#include "gfx/ImageIndex.h"

int ImageIndex::find(const std::vector<ImageRecord>& images, int32_t id)
{
    if (images.size() < indexed) {
        firstIndex.clear();
        indexed = 0;
    }
    for (; indexed < images.size(); ++indexed) {
        firstIndex.emplace(images[indexed].id, static_cast<int>(indexed)); // the first one stays
    }
    const auto found = firstIndex.find(id);
    return found == firstIndex.end() ? -1 : found->second;
}
