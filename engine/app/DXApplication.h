// The application object: the program's one window and its window procedure,
// the message loop with the fixed-step frame loop that calls the game's update
// and render callbacks, full screen and windowed presentation through the
// Direct3D framework with fallbacks reported in message boxes, and screenshots.
// Everything runs on the main thread.
#pragma once

#include "platform/classlib/AnsiString.h"
#include "platform/win32/WinWindow.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace Win32 {
class SdlDisplayWindow;
}
namespace D3DFrame {
class TD3DFramework;
}

namespace DXApp {

using ClassLib::AnsiString;
using Win32::HINSTANCE;
using Win32::HWND;
using Win32::LPARAM;
using Win32::LRESULT;
using Win32::RECT;
using Win32::UINT;
using Win32::WPARAM;

// Option bits.
constexpr uint32_t aoCloseInFullScreen = 0x01;  // WM_CLOSE is honoured in full screen too
constexpr uint32_t aoUncappedDelta = 0x02;      // variable step: no 50 ms cap
constexpr uint32_t aoWindowedFallback = 0x04;   // a failed window falls back to full screen
constexpr uint32_t aoModeSwitchFallback = 0x08; // a failed switch is reported and undone
constexpr uint32_t aoNeverHideCursor = 0x10;    // the system cursor always shows
constexpr uint32_t aoHideCursorWindowed = 0x20; // hidden over the client area in a window too
constexpr uint32_t aoNoMinimumStep = 0x40;      // variable step: no 10 ms between updates
constexpr uint32_t aoFixedFrame = 0x80;         // a window of fixed size
constexpr uint32_t aoAltEnterToggles = 0x100;   // Alt+Enter toggles full screen and window

// Window styles of the two presentations.
constexpr Win32::DWORD FullScreenStyle = Win32::WS_POPUP | Win32::WS_SYSMENU;
constexpr Win32::DWORD FixedWindowStyle = 0x00CA0000; // caption, system menu, minimise box
constexpr Win32::DWORD SizableWindowStyle = Win32::WS_OVERLAPPEDWINDOW;

using TCallback = std::function<void()>;
using TInputCallback = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

class TDXApplication {
public:
    TDXApplication();
    ~TDXApplication();
    TDXApplication(const TDXApplication&) = delete;
    TDXApplication& operator=(const TDXApplication&) = delete;

    // Registers the window class and creates the window (hidden, no size yet).
    // Raises "Register class failed." or "Error creating window.".
    void Create(HINSTANCE instance, const AnsiString& title, const AnsiString& className,
                uint32_t options, uint32_t ticksPerSecond, TCallback onDestroy, TCallback onUpdate,
                TCallback onRender, TCallback onRestore, TCallback onBeforeModeChange,
                TCallback onAfterModeChange, TCallback onAfterDeviceChange, TInputCallback onInput);

    // The first presentation. Sizes are client sizes; the rectangle of SetFullscreen
    // is kept for a later switch to a window.
    void SetFullscreen(int32_t modeIndex, int32_t left, int32_t top, int32_t width, int32_t height);
    void SetWindowed(int showCommand, int32_t left, int32_t top, int32_t width, int32_t height);
    // Later switches, with the mode-change callbacks around them.
    void ChangeDisplayMode(int32_t modeIndex);
    void ToggleToFullscreen();
    void ToggleToWindowed();
    bool IsFullScreen() const;

    // Runs until WM_QUIT and returns its exit code.
    int RunMessageLoop();
    // The nested loop of a modal window: runs until *done or Quit is set, with
    // the given callbacks in place of the update and render ones (null: keep).
    // A WM_QUIT read here ends it and is posted again for the loops outside.
    void ProcessMessages(const bool* done, const TCallback& onUpdate, const TCallback& onRender);
    // One frame step: at most one fixed update, and a render when caught up.
    void RunFrame();

    // Sets Quit and asks the window to close.
    void Terminate();
    // A message box with the exception's message, captioned with the title.
    void ShowError(const std::exception& error) const;
    void SetTicksPerSecond(uint32_t ticksPerSecond);
    // Moves the system cursor to a point of the client area.
    void SetCursorPos(int32_t x, int32_t y) const;
    // Writes the back buffer to the next free "Bmp/NNNNNN.bmp" under the program folder.
    void SaveScreenshot();
    // Writes the back buffer to the BMP file; false when there is none or it cannot
    // be read.
    bool SaveBackBuffer(const AnsiString& fileName) const;

    LRESULT WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window = nullptr;
    HINSTANCE Instance = nullptr;
    AnsiString Title; // at most 79 characters
    uint32_t Options = 0;
    bool Active = false;
    bool Switching = false; // activation, size and move messages are ignored meanwhile
    bool Quit = false;
    int ExitCode = 0;
    float FPS = 0;
    int32_t GameTime = 0; // milliseconds accumulated by updates
    int32_t Delta = 0;    // milliseconds of the current update
    uint32_t TickCount = 0;
    bool ResetTiming = false; // the next frame step restarts the timing
    uint32_t Now = 0;
    uint32_t LastUpdate = 0;
    uint32_t FpsStart = 0;
    uint32_t FpsElapsed = 0;
    uint32_t FpsFrames = 0;
    uint32_t LastRender = 0;
    uint32_t TicksPerSecond = 0; // 0: variable step
    uint32_t StepMs = 0;
    RECT ClientRect; // screen coordinates
    RECT WindowRect; // the window's placement and styles kept while in full screen
    Win32::DWORD WindowStyle = 0;
    Win32::DWORD WindowExStyle = 0;
    int32_t SavedMode = -1; // the full-screen mode to return to; -1 the framework's default

    TCallback OnDestroy;
    TCallback OnUpdate;
    TCallback OnRender;
    TCallback OnRestore;
    TCallback OnBeforeModeChange;
    TCallback OnAfterModeChange;
    TCallback OnAfterDeviceChange;
    TInputCallback OnInput;
    TCallback OnScreenshot; // SaveScreenshot unless replaced
    TCallback OnActivate;
    TCallback OnDeactivate;
    TCallback OnAltDown;
    TCallback OnAltUp;

    std::array<uint8_t, 256> KeyDown{}; // 1 while the virtual key is held
    int32_t CursorX = 0;                // client coordinates, read at every frame step
    int32_t CursorY = 0;
    bool ScreenshotRequest = false;
    int32_t ScreenshotCounter = 0;

private:
    // Switching is set for the scope and put back after (switches nest); the timing
    // restarts at the next frame step.
    class TSwitchingScope {
    public:
        explicit TSwitchingScope(TDXApplication& application)
            : FApplication(application), FOuter(application.Switching) {
            application.Switching = true;
            application.ResetTiming = true;
        }
        ~TSwitchingScope() { FApplication.Switching = FOuter; }
        TSwitchingScope(const TSwitchingScope&) = delete;
        TSwitchingScope& operator=(const TSwitchingScope&) = delete;

    private:
        TDXApplication& FApplication;
        bool FOuter;
    };

    // One turn of a message loop; false once WM_QUIT was read.
    bool LoopStep();
    bool CheckDisplay();
    void FixedStep();
    void VariableStep();
    void Render();
    void CountFrame();
    void TakeScreenshot();

    std::optional<LRESULT> HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> HandleKey(UINT message, WPARAM wParam, LPARAM lParam);
    void SetActive(bool active);
    void RefreshClientRect();

    RECT WindowRectFor(int32_t left, int32_t top, int32_t width, int32_t height) const;
    Win32::DWORD WindowedStyle() const;
    void EnterFullScreen(int32_t modeIndex);
    void LeaveFullScreen();
    void CoverScreen();
    D3DFrame::TD3DFramework& Framework() const;
    void ReportSwitchError(const std::exception& error, const char* consequence) const;
    // Callbacks run from a copy: one may replace itself (a nested loop does).
    static void Call(TCallback callback) {
        if (callback)
            callback();
    }

    int32_t NextScreenshotNumber(const AnsiString& folder);

    std::unique_ptr<Win32::SdlDisplayWindow> FDisplayWindow;
    bool FFrameWorked = false;        // the last frame step updated or rendered
    bool FScreenshotsCounted = false; // the counter has been moved past the files there
};

// The program's one application object, made by the entry point before start-up and
// gone at its end; null outside. The entry point owns it, so that a program ended
// from deep inside (the display server gone) leaves it alone.
extern TDXApplication* Application;

} // namespace DXApp
