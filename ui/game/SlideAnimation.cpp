#include "ui/game/SlideAnimation.h"

#include "engine/widgets/DXControl.h"
#include "engine/widgets/DXWinHost.h"

namespace Main {

void TSlideAnimation::SlideTo(DXWin::TDXControl& control, int32_t x, int32_t y, int32_t duration) {
    if (duration <= 0) {
        FActive = false;
        control.SetPosition(x, y);
        return;
    }
    if (FActive ? FTargetX == x && FTargetY == y : control.X() == x && control.Y() == y)
        return;
    FStart = DXWin::ApplicationClock();
    FDuration = duration;
    FOriginX = control.X();
    FOriginY = control.Y();
    FTargetX = x;
    FTargetY = y;
    FActive = true;
}

void TSlideAnimation::Step(DXWin::TDXControl& control) {
    if (!FActive)
        return;
    // Unsigned, so that a clock wrapping round still gives the time gone by.
    const uint32_t elapsed = DXWin::ApplicationClock() - FStart;
    if (elapsed < uint32_t(FDuration)) {
        const int64_t done = int64_t(elapsed);
        control.SetPosition(int32_t(FOriginX + (int64_t(FTargetX) - FOriginX) * done / FDuration),
                            int32_t(FOriginY + (int64_t(FTargetY) - FOriginY) * done / FDuration));
        return;
    }
    control.SetPosition(FTargetX, FTargetY);
    FActive = false;
}

} // namespace Main
