// Full screen and windowed presentation, and the fallbacks when a switch fails.
// Full screen shows the window over the whole desktop; the display framework
// decides what it shows there.
#include "engine/app/DXApplication.h"

#include "engine/app/D3DFramework.h"
#include "platform/classlib/Exception.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/WinWindow.h"

namespace DXApp {

using namespace Win32;
using D3DFrame::D3DFramework;
using D3DFrame::TD3DFramework;

D3DFrame::TD3DFramework& TDXApplication::Framework() const {
    if (!D3DFramework)
        throw ClassLib::Exception("The display framework has not been created.");
    return *D3DFramework;
}

DWORD TDXApplication::WindowedStyle() const {
    return (Options & aoFixedFrame) ? FixedWindowStyle : SizableWindowStyle;
}

RECT TDXApplication::WindowRectFor(int32_t left, int32_t top, int32_t width, int32_t height) const {
    const bool fixed = (Options & aoFixedFrame) != 0;
    const int frameX = GetSystemMetrics(fixed ? SM_CXFIXEDFRAME : SM_CXSIZEFRAME);
    const int frameY = GetSystemMetrics(fixed ? SM_CYFIXEDFRAME : SM_CYSIZEFRAME);
    return {left, top, left + width + 2 * frameX,
            top + height + 2 * frameY + GetSystemMetrics(SM_CYCAPTION)};
}

// Before the display goes full screen: a desktop that cannot make a window full screen
// (no window manager) still shows it over the whole screen.
void TDXApplication::CoverScreen() {
    SetWindowPos(Window, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN), 0);
}

void TDXApplication::ReportSwitchError(const std::exception& error, const char* consequence) const {
    const AnsiString text = ClassLib::ExceptionMessage(error) + consequence;
    MessageBox(Window, text.c_str(), Title.c_str(), MB_ICONERROR);
}

void TDXApplication::SetFullscreen(int32_t modeIndex, int32_t left, int32_t top, int32_t width,
                                   int32_t height) {
    TSwitchingScope switching(*this);
    WindowRect = WindowRectFor(left, top, width, height);
    WindowStyle = WindowedStyle();
    WindowExStyle = 0;
    SavedMode = -1;
    SetWindowLong(Window, GWL_STYLE, static_cast<LONG>(FullScreenStyle));
    SetWindowLong(Window, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOPMOST));
    CoverScreen();
    Framework().SetFullScreen(-1, -1, modeIndex);
    ShowWindow(Window, SW_SHOW);
    UpdateWindow(Window);
    SetFocus(Window);
    SetActive(true);
    Call(OnAfterDeviceChange);
}

void TDXApplication::SetWindowed(int showCommand, int32_t left, int32_t top, int32_t width,
                                 int32_t height) {
    TSwitchingScope switching(*this);
    try {
        SetWindowLong(Window, GWL_STYLE, static_cast<LONG>(WindowedStyle()));
        SetWindowLong(Window, GWL_EXSTYLE, 0);
        const RECT placement = WindowRectFor(left, top, width, height);
        SetWindowPos(Window, HWND_NOTOPMOST, placement.left, placement.top,
                     placement.right - placement.left, placement.bottom - placement.top,
                     SWP_FRAMECHANGED);
        if ((Options & aoFixedFrame) && showCommand == SW_SHOWMAXIMIZED)
            showCommand = SW_SHOWNORMAL;
        ShowWindow(Window, showCommand);
        UpdateWindow(Window);
        SetFocus(Window);
        if (IsIconic(Window)) {
            ClientRect = {0, 0, 16, 16};
            SetActive(false);
        } else {
            RefreshClientRect();
            SetActive(true);
        }
        Framework().SetWindowed(-1, -1, ClientRect);
        Call(OnAfterDeviceChange);
    } catch (const std::exception& error) {
        if (!(Options & aoWindowedFallback))
            throw;
        ReportSwitchError(error, "\n\nError initializing windowed mode. Switching to fullscreen.");
        if (IsIconic(Window))
            ShowWindow(Window, SW_RESTORE);
        SetFullscreen(-1, 50, 50, 640, 480);
    }
}

void TDXApplication::EnterFullScreen(int32_t modeIndex) {
    TD3DFramework& framework = Framework();
    if (framework.Windowed()) {
        WindowStyle = static_cast<DWORD>(GetWindowLong(Window, GWL_STYLE));
        WindowExStyle = static_cast<DWORD>(GetWindowLong(Window, GWL_EXSTYLE));
        GetWindowRect(Window, &WindowRect);
        SetWindowLong(Window, GWL_STYLE, static_cast<LONG>(FullScreenStyle));
        SetWindowLong(Window, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOPMOST));
        CoverScreen();
        framework.SetFullScreen(-1, -1, modeIndex);
    } else {
        framework.SetFullScreenMode(modeIndex);
    }
}

void TDXApplication::LeaveFullScreen() {
    TD3DFramework& framework = Framework();
    // Leaving full screen gives the window back its own size: nothing to shrink first.
    framework.ReleaseAll();
    SetWindowLong(Window, GWL_STYLE, static_cast<LONG>(WindowStyle));
    SetWindowLong(Window, GWL_EXSTYLE, static_cast<LONG>(WindowExStyle));
    SetWindowPos(Window, HWND_NOTOPMOST, WindowRect.left, WindowRect.top,
                 WindowRect.right - WindowRect.left, WindowRect.bottom - WindowRect.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    RefreshClientRect();
    framework.SetWindowed(-1, -1, ClientRect);
}

void TDXApplication::ChangeDisplayMode(int32_t modeIndex) {
    if (IsIconic(Window))
        return;
    TSwitchingScope switching(*this);
    const bool wasFullScreen = IsFullScreen();
    const int32_t previousMode = Framework().ModeInUse();
    Call(OnBeforeModeChange);
    try {
        EnterFullScreen(modeIndex);
    } catch (const std::exception& error) {
        if (!(Options & aoModeSwitchFallback))
            throw;
        if (wasFullScreen) {
            ReportSwitchError(error, "\n\nError setting display mode. Restoring previous.");
            EnterFullScreen(previousMode);
        } else {
            ReportSwitchError(error,
                              "\n\nError switching to fullscreen mode. Switching back to desktop.");
            LeaveFullScreen();
        }
    }
    Call(OnAfterModeChange);
    Call(OnAfterDeviceChange);
}

void TDXApplication::ToggleToFullscreen() {
    if (!IsFullScreen())
        ChangeDisplayMode(SavedMode);
}

void TDXApplication::ToggleToWindowed() {
    if (!IsFullScreen() || IsIconic(Window))
        return;
    TSwitchingScope switching(*this);
    Call(OnBeforeModeChange);
    SavedMode = Framework().ModeInUse();
    try {
        LeaveFullScreen();
    } catch (const std::exception& error) {
        if (!(Options & aoModeSwitchFallback))
            throw;
        ReportSwitchError(error,
                          "\n\nError switching to windowed mode. Switching back to fullscreen.");
        EnterFullScreen(SavedMode);
    }
    Call(OnAfterModeChange);
    Call(OnAfterDeviceChange);
}

} // namespace DXApp
