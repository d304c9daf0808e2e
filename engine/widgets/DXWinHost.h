// What the widgets take from the application and the display: the application's
// tick count, clock and cursor position, the display size, the nested message
// loop of modal windows and the drawing of cursor sprites.
#pragma once

#include "platform/WinTypes.h"

#include <cstdint>

namespace Win32 {
class IDirectDrawSurface7;
}
namespace Gfx {
class TSprite;
}

namespace DXWin {

// Number of fixed updates the application has run (100 a second).
uint32_t ApplicationTickCount();
// Milliseconds of the application's clock.
uint32_t ApplicationClock();
// The cursor position the application read at its last frame step.
Win32::POINT ApplicationCursor();
// The size of the display the widgets draw on.
Win32::SIZE DisplaySize();
// Runs the application's message loop until *done is set or the program quits.
void RunNestedLoop(const bool* done);
// Draws the cursor sprite with its hot spot at (x, y), animated by the tick count.
void DrawCursorSprite(Gfx::TSprite* cursor, Win32::IDirectDrawSurface7* target, int x, int y);

} // namespace DXWin
