// A straight slide of a control from where it stands to a target over a set time, on
// the application's clock: the group panel and its unit panels move in and out by it.
#pragma once

#include <cstdint>

namespace DXWin {
class TDXControl;
}

namespace Main {

class TSlideAnimation {
public:
    // Starts from the control's position. Nothing when the control is already at the
    // target or on its way there; a duration of 0 or less moves it at once.
    void SlideTo(DXWin::TDXControl& control, int32_t x, int32_t y, int32_t duration);
    // Each tick: the position for the time gone by, the target once the time is up.
    void Step(DXWin::TDXControl& control);
    bool Active() const { return FActive; }

private:
    uint32_t FStart = 0;
    int32_t FDuration = 0;
    int32_t FOriginX = 0, FOriginY = 0;
    int32_t FTargetX = 0, FTargetY = 0;
    bool FActive = false;
};

} // namespace Main
