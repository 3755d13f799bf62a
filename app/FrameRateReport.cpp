#include "app/FrameRateReport.h"

#include <sstream>

std::string frameRateLine(int32_t frames, int32_t periodMilliseconds)
{
    const float seconds = static_cast<float>(periodMilliseconds / 1000.0);
    const float framesPerSecond = static_cast<float>(frames) / seconds;
    std::ostringstream line;
    line << frames << " frames in " << seconds << " seconds = " << framesPerSecond << " FPS\n";
    return line.str();
}
