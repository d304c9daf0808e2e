// What the window shows once the data have loaded, until the game's screens arrive: a
// dark field, a bar that sweeps to and fro with the application's ticks and a row of
// lights counting the seconds, under the game's cursor. F12 saves a screenshot.
#pragma once

#include "engine/widgets/DXWindow.h"

#include <cstdint>

namespace Main {

class TPlaceholderScreen : public DXWin::TDXWindow {
public:
    // A background window filling the screen; with a run time above 0 the program
    // closes itself after that much game time.
    TPlaceholderScreen(DXWin::TDXWindowSystem* windowSystem, int32_t runMilliseconds);

private:
    void DrawScreen(Win32::IDirectDrawSurface7* target) const;

    int32_t FRunMilliseconds;
};

} // namespace Main
