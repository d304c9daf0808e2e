#include "engine/widgets/DXWinHost.h"

#include "platform/Clock.h"
#include "platform/WinInput.h"

namespace DXWin {

uint32_t ApplicationTickCount() {
    return Win32::timeGetTime() / 10;
}

uint32_t ApplicationClock() {
    return Win32::timeGetTime();
}

Win32::POINT ApplicationCursor() {
    Win32::POINT point;
    Win32::GetCursorPos(&point);
    return point;
}

Win32::SIZE DisplaySize() {
    return {800, 600};
}

void RunNestedLoop(const bool*) {}

void DrawCursorSprite(Gfx::TSprite*, Win32::IDirectDrawSurface7*, int, int) {}

} // namespace DXWin
