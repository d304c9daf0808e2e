// Windows: classes, creation and destruction, window procedures, showing,
// activation, placement and coordinates. A window is the program's handle on
// an SDL window that the display code creates and attaches; until one is
// attached it keeps its own placement, so the window procedure and its
// messages work without a display, as in the tests.
#pragma once

#include "platform/WinTypes.h"
#include "platform/win32/WinMessages.h"

#include <functional>

struct SDL_Window;

namespace Win32 {

// Class styles
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008; // double-clicks become WM_xBUTTONDBLCLK

// Window styles
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;

// ShowWindow
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// GetWindowLong / SetWindowLong
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

// SetWindowPos
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));

// GetSystemMetrics
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXFIXEDFRAME = 7;
constexpr int SM_CYFIXEDFRAME = 8;
constexpr int SM_CXSIZEFRAME = 32;
constexpr int SM_CYSIZEFRAME = 33;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;

constexpr int BLACK_BRUSH = 4;

// WM_GETMINMAXINFO's lParam points to one; the window procedure may change it.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const char* lpszClassName = nullptr;
};

// 0 when the name or the procedure is missing or the class exists already.
ATOM RegisterClass(const WNDCLASS& windowClass);
BOOL UnregisterClass(const char* className, HINSTANCE instance);
// Sends WM_CREATE (lParam 0); null for an unknown class or when WM_CREATE
// returns -1. The position and size are those of the client area: the desktop
// draws no frame of its own.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HINSTANCE instance);
// Sends WM_DESTROY and WM_NCDESTROY and drops the window's queued messages.
// The attached SDL window belongs to the display code and stays.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

// Calls the window procedure at once, on the window thread.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// What Windows does with a message the procedure passes on: WM_CLOSE destroys
// the window; Alt+F4 becomes WM_SYSCOMMAND SC_CLOSE, and SC_CLOSE WM_CLOSE;
// SC_MINIMIZE, SC_MAXIMIZE and SC_RESTORE show the window so; WM_SETCURSOR over
// the client area sets the class cursor; activation gives the window focus.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HINSTANCE GetModuleHandle(const char* moduleName);
// The program's icon by resource number: a handle that only names it.
HICON LoadIcon(HINSTANCE instance, int iconId);
HBRUSH GetStockBrush(int brush);

// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);

LONG GetWindowLong(HWND window, int index);
LONG SetWindowLong(HWND window, int index, LONG value);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
// The screen's size; frames and captions measure 0, as SDL windows are sized
// by their client area.
int GetSystemMetrics(int index);

// The SDL window behind a window: its events become the window's messages and
// its placement is the window's. Null detaches.
void AttachSdlWindow(HWND window, SDL_Window* sdlWindow);
SDL_Window* GetSdlWindow(HWND window);

// How the window's pixels relate to client coordinates when the display code
// scales the picture into the window (e.g. an 800 x 600 game in a larger
// window). Empty functions: client coordinates are window pixels, and the
// client size is the window's.
struct TClientMapping {
    std::function<POINT(POINT)> FromWindow;
    std::function<POINT(POINT)> ToWindow;
    std::function<SIZE()> ClientSize;
};
void SetClientMapping(HWND window, TClientMapping mapping);

} // namespace Win32
