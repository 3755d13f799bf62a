#include "tools/replay/PngFile.h"

#include "gfx/WorldSnapshot.h"

#include <png.h>

std::string writePng(const std::string& path, const WorldPicture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, picture.rgb.data(), 0, nullptr) == 0) {
        std::string message = image.message;
        png_image_free(&image);
        return message;
    }
    return "";
}
