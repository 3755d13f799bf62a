// The browser build's tool draws no map: it has neither the PNG library nor the desktop GL
// that the map's overlay uses (and under node no window at all).

#include "tools/replay/WorldMap.h"

std::string writeWorldMap(Game&, const std::string&) { return "the browser build draws no maps"; }

std::string writeWindowFrame(Game&, const std::string&)
{
    return "the browser build draws no frames";
}
