#pragma once

#include <string>

struct WorldPicture;

// Writes the picture as an 8-bit RGB PNG file. Returns "" or libpng's message.
std::string writePng(const std::string& path, const WorldPicture& picture);
