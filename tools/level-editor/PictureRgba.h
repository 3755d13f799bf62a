#pragma once

#include "gfx/PixelImage.h"

#include <string>

// A picture of the level's folder as the game shows it: read by this build's own picture
// reader, cut to a disc as every loaded picture is, except the background "level.bmp", which
// the game stretches whole. False, with the reason in `problem`, when it cannot be read.
bool levelPicture(const std::string& folder, const std::string& name, PixelImage& picture,
                  std::string& problem);
