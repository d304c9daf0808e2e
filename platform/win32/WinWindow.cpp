#include "platform/win32/WinWindow.h"

#include "platform/classlib/AnsiString.h"
#include "platform/win32/DesktopState.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinInput.h"

#include <SDL2/SDL.h>

namespace Win32 {

namespace {

TDesktop::TState& State() {
    return CurrentDesktop().State();
}

uintptr_t Key(HWND window) {
    return reinterpret_cast<uintptr_t>(window);
}

template <typename Handle>
Handle HandleFromNumber(uintptr_t number) {
    return reinterpret_cast<Handle>(number);
}

BOOL WindowFlag(HWND window, bool TWindow::*flag) {
    const auto record = State().Find(window);
    return record && (*record).*flag ? TRUE : FALSE;
}

constexpr DWORD kStateStyles = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;

} // namespace

ATOM RegisterClass(const WNDCLASS& windowClass) {
    if (!windowClass.lpszClassName || !*windowClass.lpszClassName || !windowClass.lpfnWndProc)
        return 0;
    auto& state = State();
    const std::lock_guard lock(state.Lock);
    const auto [entry, added] = state.Classes.try_emplace(
        ClassLib::LowerCase(windowClass.lpszClassName),
        TWindowClass{windowClass.style, windowClass.lpfnWndProc, windowClass.hCursor});
    return added ? state.NextAtom++ : 0;
}

BOOL UnregisterClass(const char* className, HINSTANCE) {
    if (!className)
        return FALSE;
    auto& state = State();
    const std::string name = ClassLib::LowerCase(className);
    const std::lock_guard lock(state.Lock);
    for (const auto& [handle, window] : state.Windows) {
        if (window.ClassName == name)
            return FALSE;
    }
    return state.Classes.erase(name) > 0 ? TRUE : FALSE;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char*, DWORD style, int x, int y,
                    int width, int height, HWND, HINSTANCE) {
    if (!className)
        return nullptr;
    auto& state = State();
    HWND handle = nullptr;
    {
        const std::string name = ClassLib::LowerCase(className);
        const std::lock_guard lock(state.Lock);
        const auto found = state.Classes.find(name);
        if (found == state.Classes.end())
            return nullptr;
        TWindow window;
        window.Procedure = found->second.Procedure;
        window.ClassStyle = found->second.Style;
        window.ClassCursor = found->second.Cursor;
        window.ClassName = name;
        window.Style = style & ~kStateStyles;
        window.ExStyle = exStyle;
        window.Placement = {x, y, x + width, y + height};
        window.Visible = (style & WS_VISIBLE) != 0;
        handle = HandleFromNumber<HWND>(state.NextWindow++);
        state.Windows.emplace(Key(handle), std::move(window));
    }
    if (SendMessage(handle, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL DestroyWindow(HWND window) {
    auto& state = State();
    bool started = false;
    state.Update(window, [&](TWindow& w) {
        started = !w.Destroying;
        w.Destroying = true;
    });
    if (!started)
        return FALSE;
    if (state.Capture == window)
        ReleaseCapture();
    if (state.Focus == window)
        state.Focus = nullptr;
    if (state.Active == window)
        state.Active = nullptr;
    SendMessage(window, WM_DESTROY, 0, 0);
    SendMessage(window, WM_NCDESTROY, 0, 0);
    {
        const std::lock_guard lock(state.Lock);
        state.Windows.erase(Key(window));
    }
    state.Queue.RemoveWindow(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return State().Exists(window) ? TRUE : FALSE;
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC procedure;
    {
        auto& state = State();
        const std::lock_guard lock(state.Lock);
        const auto found = state.Windows.find(Key(window));
        if (found == state.Windows.end())
            return 0;
        // A copy: the procedure may destroy its own window.
        procedure = found->second.Procedure;
    }
    return procedure(window, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(window, WM_CLOSE, 0, 0);
            break;
        case SC_MINIMIZE:
            ShowWindow(window, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(window, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(window, SW_RESTORE);
            break;
        default:
            break;
        }
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(static_cast<uintptr_t>(lParam)) & KF_ALTDOWN) != 0)
            SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(static_cast<uintptr_t>(lParam)) == HTCLIENT) {
            if (const auto record = State().Find(window)) {
                SetCursor(record->ClassCursor);
                return TRUE;
            }
        }
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0)
            SetFocus(window);
        return 0;
    default:
        return 0;
    }
}

HINSTANCE GetModuleHandle(const char* moduleName) {
    return moduleName ? nullptr : HandleFromNumber<HINSTANCE>(0x400000);
}

HICON LoadIcon(HINSTANCE, int iconId) {
    return iconId > 0 ? HandleFromNumber<HICON>(static_cast<uintptr_t>(iconId)) : nullptr;
}

HBRUSH GetStockBrush(int brush) {
    return brush >= 0 && brush <= BLACK_BRUSH
               ? HandleFromNumber<HBRUSH>(static_cast<uintptr_t>(brush) + 1)
               : nullptr;
}

BOOL ShowWindow(HWND window, int command) {
    auto& state = State();
    const auto record = state.Find(window);
    if (!record)
        return FALSE;
    const BOOL wasVisible = record->Visible ? TRUE : FALSE;
    SDL_Window* const sdl = record->Sdl;
    const bool show = command != SW_HIDE;
    state.Update(window, [&](TWindow& w) { w.Visible = show; });
    if (sdl)
        show ? SDL_ShowWindow(sdl) : SDL_HideWindow(sdl);
    switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (sdl)
            SDL_MinimizeWindow(sdl);
        state.SetMinimized(window, true);
        break;
    case SW_MAXIMIZE:
        if (sdl)
            SDL_MaximizeWindow(sdl);
        state.SetMaximized(window, true);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (sdl)
            SDL_RestoreWindow(sdl);
        if (record->Minimized)
            state.SetMinimized(window, false);
        else if (record->Maximized)
            state.SetMaximized(window, false);
        break;
    default:
        break;
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND window) {
    return IsWindow(window);
}

BOOL IsWindowVisible(HWND window) {
    return WindowFlag(window, &TWindow::Visible);
}

BOOL IsIconic(HWND window) {
    return WindowFlag(window, &TWindow::Minimized);
}

BOOL IsZoomed(HWND window) {
    return WindowFlag(window, &TWindow::Maximized);
}

HWND SetFocus(HWND window) {
    auto& state = State();
    if (window && !state.Exists(window))
        return nullptr;
    const HWND previous = state.Focus;
    if (previous == window)
        return previous;
    state.Focus = window;
    if (previous)
        SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window)
        SendMessage(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() {
    return State().Focus;
}

HWND GetActiveWindow() {
    return State().Active;
}

BOOL SetForegroundWindow(HWND window) {
    const auto record = State().Find(window);
    if (!record)
        return FALSE;
    if (record->Sdl)
        SDL_RaiseWindow(record->Sdl);
    return TRUE;
}

LONG GetWindowLong(HWND window, int index) {
    const auto record = State().Find(window);
    if (!record)
        return 0;
    if (index == GWL_EXSTYLE)
        return static_cast<LONG>(record->ExStyle);
    if (index != GWL_STYLE)
        return 0;
    DWORD style = record->Style;
    if (record->Visible)
        style |= WS_VISIBLE;
    if (record->Minimized)
        style |= WS_MINIMIZE;
    if (record->Maximized)
        style |= WS_MAXIMIZE;
    return static_cast<LONG>(style);
}

LONG SetWindowLong(HWND window, int index, LONG value) {
    const LONG previous = GetWindowLong(window, index);
    State().Update(window, [&](TWindow& w) {
        if (index == GWL_STYLE)
            w.Style = static_cast<DWORD>(value) & ~kStateStyles;
        else if (index == GWL_EXSTYLE)
            w.ExStyle = static_cast<DWORD>(value);
    });
    return previous;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    auto& state = State();
    const auto record = state.Find(window);
    if (!record)
        return FALSE;
    const bool move = (flags & SWP_NOMOVE) == 0;
    const bool size = (flags & SWP_NOSIZE) == 0;
    const RECT old = record->Placement;
    state.Update(window, [&](TWindow& w) {
        if (move) {
            w.Placement.right += x - w.Placement.left;
            w.Placement.bottom += y - w.Placement.top;
            w.Placement.left = x;
            w.Placement.top = y;
        }
        if (size) {
            w.Placement.right = w.Placement.left + width;
            w.Placement.bottom = w.Placement.top + height;
        }
        if ((flags & SWP_NOZORDER) == 0 && insertAfter == HWND_TOPMOST)
            w.ExStyle |= WS_EX_TOPMOST;
        else if ((flags & SWP_NOZORDER) == 0 && insertAfter == HWND_NOTOPMOST)
            w.ExStyle &= ~WS_EX_TOPMOST;
    });
    if (record->Sdl) {
        // SDL reports the change back as window events, which send WM_MOVE and WM_SIZE.
        if (move)
            SDL_SetWindowPosition(record->Sdl, x, y);
        if (size)
            SDL_SetWindowSize(record->Sdl, width, height);
    } else {
        if (move && (old.left != x || old.top != y))
            SendMessage(window, WM_MOVE, 0, PointToLParam(x, y));
        if (size && (old.right - old.left != width || old.bottom - old.top != height))
            state.SendSize(window);
    }
    if ((flags & SWP_SHOWWINDOW) != 0)
        ShowWindow(window, SW_SHOW);
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    auto& state = State();
    const auto record = state.Find(window);
    if (!record || !rect)
        return FALSE;
    const POINT origin = state.Origin(*record);
    const SIZE size = state.PixelSize(*record);
    *rect = {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    auto& state = State();
    const auto record = state.Find(window);
    if (!record || !rect)
        return FALSE;
    const SIZE size = state.ClientSize(*record);
    *rect = {0, 0, size.cx, size.cy};
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    auto& state = State();
    const auto record = state.Find(window);
    if (!record || !point)
        return FALSE;
    const POINT pixel = record->Mapping.ToWindow ? record->Mapping.ToWindow(*point) : *point;
    const POINT origin = state.Origin(*record);
    *point = {origin.x + pixel.x, origin.y + pixel.y};
    return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
    auto& state = State();
    const auto record = state.Find(window);
    if (!record || !point)
        return FALSE;
    const POINT origin = state.Origin(*record);
    const POINT pixel{point->x - origin.x, point->y - origin.y};
    *point = record->Mapping.FromWindow ? record->Mapping.FromWindow(pixel) : pixel;
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        SDL_DisplayMode mode{};
        if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDesktopDisplayMode(0, &mode) != 0)
            return 0;
        return index == SM_CXSCREEN ? mode.w : mode.h;
    }
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return TSdlInput::kDoubleClickSize;
    default:
        return 0;
    }
}

void AttachSdlWindow(HWND window, SDL_Window* sdlWindow) {
    State().Update(window, [&](TWindow& w) { w.Sdl = sdlWindow; });
}

SDL_Window* GetSdlWindow(HWND window) {
    const auto record = State().Find(window);
    return record ? record->Sdl : nullptr;
}

void SetClientMapping(HWND window, TClientMapping mapping) {
    State().Update(window, [&](TWindow& w) { w.Mapping = std::move(mapping); });
}

} // namespace Win32
