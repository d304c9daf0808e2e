#include "platform/win32/WinInput.h"

#include "platform/win32/DesktopState.h"

#include <SDL2/SDL.h>

namespace Win32 {

namespace {

TDesktop::TState& State() {
    return CurrentDesktop().State();
}

void CaptureSdlMouse(bool capture) {
    // Lets SDL report the mouse outside the window; where the video driver
    // cannot, nothing is filtered anyway.
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
        SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

} // namespace

SHORT GetKeyState(int virtualKey) {
    return virtualKey >= 0 ? State().Keys.Get(static_cast<UINT>(virtualKey)) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) {
    const bool down = virtualKey >= 0 && State().Input.Keys().IsDown(static_cast<UINT>(virtualKey));
    return static_cast<SHORT>(down ? 0x8000 : 0);
}

HWND SetCapture(HWND window) {
    auto& state = State();
    if (!state.Exists(window))
        return nullptr;
    const HWND previous = state.Capture;
    state.Capture = window;
    CaptureSdlMouse(true);
    if (previous && previous != window)
        SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return previous;
}

BOOL ReleaseCapture() {
    auto& state = State();
    const HWND previous = state.Capture;
    state.Capture = nullptr;
    CaptureSdlMouse(false);
    if (previous)
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return State().Capture;
}

int ShowCursor(BOOL show) {
    auto& state = State();
    state.CursorCounter += show ? 1 : -1;
    state.ApplyCursor();
    return state.CursorCounter;
}

HCURSOR SetCursor(HCURSOR cursor) {
    auto& state = State();
    const HCURSOR previous = state.Cursor;
    state.Cursor = cursor;
    state.ApplyCursor();
    return previous;
}

HCURSOR GetCursor() {
    return State().Cursor;
}

HCURSOR LoadCursor(HINSTANCE, int cursorId) {
    return cursorId == IDC_ARROW ? reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(cursorId))
                                 : nullptr;
}

BOOL GetCursorPos(POINT* point) {
    if (!point)
        return FALSE;
    auto& state = State();
    const auto window = state.Find(state.MainWindow());
    const POINT origin = window ? state.Origin(*window) : POINT{};
    const POINT mouse = state.Input.MousePosition();
    *point = {origin.x + mouse.x, origin.y + mouse.y};
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    auto& state = State();
    const auto window = state.Find(state.MainWindow());
    const POINT origin = window ? state.Origin(*window) : POINT{};
    const POINT pixel{x - origin.x, y - origin.y};
    state.Input.SetMousePosition(pixel);
    {
        const std::lock_guard lock(state.Lock);
        state.CursorScreen = {x, y};
    }
    if (window && window->Sdl)
        SDL_WarpMouseInWindow(window->Sdl, pixel.x, pixel.y);
    return TRUE;
}

UINT GetDoubleClickTime() {
    return TSdlInput::kDoubleClickTime;
}

} // namespace Win32
