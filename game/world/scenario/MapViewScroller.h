// The screen that shows the map, as scripts reach it: it brings a map pixel to the
// middle of the view, smoothly over a number of update steps.
#pragma once

#include <cstdint>

namespace GameData {

class TMapViewScroller {
public:
    virtual ~TMapViewScroller() = default;
    // Steps 0 or less jump at once.
    virtual void CenterViewOn(int32_t x, int32_t y, int32_t steps) = 0;
};

} // namespace GameData
