// The window procedure of the application's window.
#include "engine/app/DXApplication.h"

#include "engine/app/D3DFramework.h"
#include "platform/display/SdlDisplayWindow.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinQueue.h"
#include "platform/win32/WinWindow.h"

namespace DXApp {

using namespace Win32;
using D3DFrame::D3DFramework;

namespace {

constexpr LPARAM AltBit = LPARAM{1} << 29;
constexpr LONG MinimumTrackSize = 100;

// What the game's input handling sees: mouse and keyboard messages and the
// program's own messages.
bool IsInputMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message > WM_USER;
}

} // namespace

LRESULT TDXApplication::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (const auto answer = HandleMessage(window, message, wParam, lParam))
            return *answer;
    } catch (const std::exception& error) {
        ShowError(error);
    }
    return DefWindowProc(window, message, wParam, lParam);
}

bool TDXApplication::IsFullScreen() const {
    return D3DFramework && !D3DFramework->Windowed();
}

void TDXApplication::SetActive(bool active) {
    if (active && !Active)
        ResetTiming = true;
    Active = active;
}

void TDXApplication::RefreshClientRect() {
    RECT client;
    GetClientRect(Window, &client);
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    ClientRect = {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

std::optional<LRESULT> TDXApplication::HandleMessage(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    if (IsInputMessage(message)) {
        const TInputCallback input = OnInput;
        if (input)
            input(message, wParam, lParam);
    }
    switch (message) {
    case WM_SETCURSOR:
        // The game draws its own cursor.
        if (LOWORD(static_cast<uintptr_t>(lParam)) == HTCLIENT && !(Options & aoNeverHideCursor) &&
            ((Options & aoHideCursorWindowed) || (Active && IsFullScreen()))) {
            SetCursor(nullptr);
            return TRUE;
        }
        return std::nullopt;
    case WM_ACTIVATE:
        if (!IsFullScreen() || Switching)
            return std::nullopt;
        SetActive(LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0);
        return 0;
    case WM_DESTROY:
        try {
            Call(OnDestroy);
        } catch (...) {
            FDisplayWindow.reset();
            PostQuitMessage(0);
            throw;
        }
        FDisplayWindow.reset();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        if (!IsFullScreen() && !Switching) {
            RefreshClientRect();
            if (D3DFramework)
                D3DFramework->SetWindowPosition(ClientRect.left, ClientRect.top);
        }
        return std::nullopt;
    case WM_SIZE:
        if (Switching)
            return std::nullopt;
        SetActive(wParam != SIZE_MINIMIZED && wParam != SIZE_MAXHIDE);
        if (Active && !IsFullScreen()) {
            RefreshClientRect();
            if (D3DFramework) {
                const RECT& shown = D3DFramework->WindowRect();
                // Our own switches report their sizes too, after the fact: only a new
                // size needs new surfaces.
                if (shown.right - shown.left == ClientRect.right - ClientRect.left &&
                    shown.bottom - shown.top == ClientRect.bottom - ClientRect.top) {
                    D3DFramework->SetWindowPosition(ClientRect.left, ClientRect.top);
                } else {
                    D3DFramework->SetWindowedMode(ClientRect);
                    Call(OnAfterDeviceChange);
                }
            }
        }
        return std::nullopt;
    case WM_CLOSE:
        if (Quit)
            DestroyWindow(window);
        else if ((Options & aoCloseInFullScreen) || !IsFullScreen())
            Terminate();
        return 0;
    case WM_ACTIVATEAPP:
        Call(wParam ? OnActivate : OnDeactivate);
        return 0;
    case WM_GETMINMAXINFO:
        if (Switching || !lParam)
            return std::nullopt;
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {MinimumTrackSize,
                                                                 MinimumTrackSize};
        return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        if (!IsZoomed(window))
            ResetTiming = true;
        return std::nullopt;
    case WM_NCRBUTTONDOWN:
        ResetTiming = true;
        return std::nullopt;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return HandleKey(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // A drag that leaves the window still ends with its button's release.
        SetCapture(window);
        return std::nullopt;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        ReleaseCapture();
        return std::nullopt;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MAXIMIZE:
        case SC_MONITORPOWER:
            if (IsFullScreen())
                return 0;
            break;
        default:
            break;
        }
        return std::nullopt;
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
        if (!Switching)
            SetActive(false);
        return std::nullopt;
    case WM_EXITMENULOOP:
    case WM_EXITSIZEMOVE:
        if (!Switching)
            SetActive(GetActiveWindow() == window && !IsIconic(window));
        return std::nullopt;
    case WM_POWERBROADCAST:
        return BROADCAST_QUERY_DENY;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> TDXApplication::HandleKey(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (wParam < KeyDown.size())
        KeyDown[wParam] = down ? 1 : 0;
    if (wParam == VK_MENU) {
        Call(down ? OnAltDown : OnAltUp);
        if (down && IsFullScreen())
            return 0;
    }
    if (down && wParam == VK_RETURN && (lParam & AltBit) && (Options & aoAltEnterToggles)) {
        if (IsFullScreen())
            ToggleToWindowed();
        else
            ToggleToFullscreen();
        return 0;
    }
    return std::nullopt;
}

} // namespace DXApp
