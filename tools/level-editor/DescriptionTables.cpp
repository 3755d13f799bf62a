#include "tools/level-editor/DescriptionTables.h"

int32_t DescriptionTables::stringIndex(std::string_view text)
{
    const auto found = known.find(text);
    if (found != known.end()) {
        return found->second;
    }
    const auto index = static_cast<int32_t>(strings.size());
    strings.emplace_back(text);
    known.emplace(std::string(text), index);
    return index;
}
