#pragma once

#include <cstdint>
#include <string>

// "312 frames in 5 seconds = 62.4 FPS\n": the steps counted over a period of milliseconds.
std::string frameRateLine(int32_t frames, int32_t periodMilliseconds);
