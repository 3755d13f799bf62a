#include "tools/level-editor/PictureRgba.h"

#include "gfx/PictureFile.h"
#include "level/InputFile.h"

#include <filesystem>

bool levelPicture(const std::string& folder, const std::string& name, PixelImage& picture,
                  std::string& problem)
{
    const InputFile input = openInputFile((std::filesystem::path(folder) / name).string());
    if (input.file == nullptr) {
        problem = input.problem;
        return false;
    }
    PictureFile read = readPictureFile(input.file);
    problem = !read.refusal.empty() ? read.refusal : read.conversionFailure;
    if (!problem.empty()) {
        return false;
    }
    if (name != "level.bmp") {
        applyDiscMask(read.picture);
    }
    picture = std::move(read.picture);
    return true;
}
