// Keyboard state, mouse capture and the cursor.
#pragma once

#include "platform/WinTypes.h"
#include "platform/win32/VirtualKeys.h"

namespace Win32 {

constexpr int IDC_ARROW = 32512;

// The key as of the last message read from the queue: negative while down,
// bit 0 toggled at every press (Caps Lock's light).
SHORT GetKeyState(int virtualKey);
// The key as the input has it now: negative while down.
SHORT GetAsyncKeyState(int virtualKey);

// While a window holds the capture, every mouse message goes to it, a release
// outside the window included. Changing it sends WM_CAPTURECHANGED to the
// window that loses it.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// The cursor shows while the display counter is 0 or more and a cursor is set;
// ShowCursor returns the new counter.
int ShowCursor(BOOL show);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The system's cursors by number (IDC_ARROW); null for an unknown one.
HCURSOR LoadCursor(HINSTANCE instance, int cursorId);
// Screen coordinates.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
UINT GetDoubleClickTime();

} // namespace Win32
