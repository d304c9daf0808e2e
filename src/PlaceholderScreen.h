// What the window shows until the game's screens arrive: a dark field, a bar that
// sweeps to and fro with the application's ticks, a row of lights counting the
// seconds, and a marker under the mouse. F12 saves a screenshot.
#pragma once

#include "platform/WinTypes.h"

#include <cstdint>

namespace Main {

class TPlaceholderScreen {
public:
    // With a run time above 0 the program closes itself after that much game time.
    explicit TPlaceholderScreen(int32_t runMilliseconds = 0) : FRunMilliseconds(runMilliseconds) {}

    void Update();
    void Render() const;
    void Input(Win32::UINT message, Win32::WPARAM wParam, Win32::LPARAM lParam) const;

private:
    int32_t FRunMilliseconds;
};

} // namespace Main
