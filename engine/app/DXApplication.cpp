// Creation, the message loops and the frame step.
#include "engine/app/DXApplication.h"

#include "engine/app/D3DFramework.h"
#include "platform/classlib/Exception.h"
#include "platform/display/SdlDisplayWindow.h"
#include "platform/win32/Clock.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinQueue.h"
#include "platform/win32/WinWindow.h"

#include <algorithm>

namespace DXApp {

using namespace Win32;
using ClassLib::Exception;
using D3DFrame::D3DFramework;

namespace {
constexpr size_t TitleLength = 79;
constexpr uint32_t MaxTicksPerSecond = 1000;
constexpr uint32_t RenderFloorMs = 1000;   // render at least this often while catching up
constexpr uint32_t VariableMinimumMs = 10; // variable step: least time between updates
constexpr int32_t VariableDeltaCap = 50;
} // namespace

TDXApplication* Application = nullptr;

TDXApplication::TDXApplication() {
    OnScreenshot = [this] { SaveScreenshot(); };
}

TDXApplication::~TDXApplication() {
    // Nothing calls back into an object that is going away.
    OnDestroy = nullptr;
    OnInput = nullptr;
    OnActivate = nullptr;
    OnDeactivate = nullptr;
    if (Window && IsWindow(Window))
        DestroyWindow(Window);
}

void TDXApplication::Create(HINSTANCE instance, const AnsiString& title,
                            const AnsiString& className, uint32_t options, uint32_t ticksPerSecond,
                            TCallback onDestroy, TCallback onUpdate, TCallback onRender,
                            TCallback onRestore, TCallback onBeforeModeChange,
                            TCallback onAfterModeChange, TCallback onAfterDeviceChange,
                            TInputCallback onInput) {
    Instance = instance;
    Title = title.substr(0, TitleLength);
    Options = options;
    SetTicksPerSecond(ticksPerSecond);
    OnDestroy = std::move(onDestroy);
    OnUpdate = std::move(onUpdate);
    OnRender = std::move(onRender);
    OnRestore = std::move(onRestore);
    OnBeforeModeChange = std::move(onBeforeModeChange);
    OnAfterModeChange = std::move(onAfterModeChange);
    OnAfterDeviceChange = std::move(onAfterDeviceChange);
    OnInput = std::move(onInput);

    WNDCLASS windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return WindowProcedure(window, message, wParam, lParam);
    };
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIcon(instance, 1);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetStockBrush(BLACK_BRUSH);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClass(windowClass))
        throw Exception("Register class failed.");

    TSwitchingScope switching(*this);
    Window = CreateWindowEx(0, className.c_str(), Title.c_str(), FullScreenStyle, 0, 0, 0, 0,
                            nullptr, instance);
    if (!Window)
        throw Exception("Error creating window.");
    // What the window shows comes through an SDL window of its own.
    FDisplayWindow = std::make_unique<SdlDisplayWindow>(Window, Title);
}

void TDXApplication::SetTicksPerSecond(uint32_t ticksPerSecond) {
    TicksPerSecond = std::min(ticksPerSecond, MaxTicksPerSecond);
    StepMs = TicksPerSecond > 0 ? 1000 / TicksPerSecond : 0;
}

void TDXApplication::Terminate() {
    Quit = true;
    PostMessage(Window, WM_CLOSE, 0, 0);
}

void TDXApplication::ShowError(const std::exception& error) const {
    MessageBox(Window, ClassLib::ExceptionMessage(error).c_str(), Title.c_str(), MB_ICONERROR);
}

void TDXApplication::SetCursorPos(int32_t x, int32_t y) const {
    POINT point{x, y};
    ClientToScreen(Window, &point);
    Win32::SetCursorPos(point.x, point.y);
}

bool TDXApplication::LoopStep() {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            ExitCode = static_cast<int>(msg.wParam);
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    } else if (Active) {
        RunFrame();
        // Nothing was due: give the processor up instead of spinning until the next tick.
        if (!FFrameWorked)
            Sleep(1);
    } else {
        WaitMessage();
    }
    return true;
}

int TDXApplication::RunMessageLoop() {
    while (LoopStep()) {
    }
    return ExitCode;
}

void TDXApplication::ProcessMessages(const bool* done, const TCallback& onUpdate,
                                     const TCallback& onRender) {
    const TCallback outerUpdate = OnUpdate;
    const TCallback outerRender = OnRender;
    if (onUpdate)
        OnUpdate = onUpdate;
    if (onRender)
        OnRender = onRender;
    try {
        while (!Quit && !(done && *done)) {
            if (!LoopStep()) {
                // The loops outside end too.
                PostQuitMessage(ExitCode);
                break;
            }
        }
    } catch (...) {
        OnUpdate = outerUpdate;
        OnRender = outerRender;
        throw;
    }
    OnUpdate = outerUpdate;
    OnRender = outerRender;
}

void TDXApplication::RunFrame() {
    FFrameWorked = false;
    if (!CheckDisplay())
        return;
    // The game's coordinates wherever the window shows its picture, in full screen too.
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(Window, &cursor);
    CursorX = cursor.x;
    CursorY = cursor.y;
    if (D3DFramework && D3DFramework->IsSurfaceLost()) {
        if (!D3DFramework->RestoreAllSurfaces())
            return;
        try {
            Call(OnRestore);
        } catch (const std::exception& error) {
            ShowError(Exception(ClassLib::ExceptionMessage(error) +
                                "\nFatal error - program will now exit."));
            Terminate();
            return;
        }
        ResetTiming = true;
    }
    if (TicksPerSecond > 0)
        FixedStep();
    else
        VariableStep();
}

bool TDXApplication::CheckDisplay() {
    if (!D3DFramework)
        return true;
    switch (D3DFramework->TestCooperativeLevel()) {
    case 0:
        return true;
    case 1: // another program holds the display
        return false;
    default:
        if (!IsFullScreen()) {
            // The desktop changed under the window: a new device for it.
            Call(OnBeforeModeChange);
            D3DFramework->SetWindowed(-1, -1, ClientRect);
            Call(OnAfterModeChange);
            Call(OnAfterDeviceChange);
        }
        return true;
    }
}

void TDXApplication::FixedStep() {
    if (ResetTiming) {
        Now = LastUpdate = LastRender = FpsStart = timeGetTime();
        FpsElapsed = FpsFrames = 0;
        ResetTiming = false;
        Delta = static_cast<int32_t>(StepMs);
        FFrameWorked = true;
        Call(OnRender);
        return;
    }
    Delta = static_cast<int32_t>(StepMs);
    Now = timeGetTime();
    if (Now - LastUpdate < StepMs)
        return;
    LastUpdate += StepMs;
    GameTime += static_cast<int32_t>(StepMs);
    ++TickCount;
    FFrameWorked = true;
    Call(OnUpdate);
    // Behind: skip rendering so that the updates catch up, but show a frame now and then.
    if (Now - LastUpdate < StepMs || Now - LastRender >= RenderFloorMs || ScreenshotRequest)
        Render();
}

void TDXApplication::VariableStep() {
    if (ResetTiming) {
        Now = LastUpdate = FpsStart = timeGetTime();
        Delta = 0;
        FpsElapsed = FpsFrames = 0;
        ResetTiming = false;
        FFrameWorked = true;
        Call(OnRender);
        return;
    }
    Now = timeGetTime();
    if (!(Options & aoNoMinimumStep) && Now - LastUpdate < VariableMinimumMs)
        return;
    Delta = static_cast<int32_t>(Now - LastUpdate);
    LastUpdate = Now;
    CountFrame();
    if (!(Options & aoUncappedDelta))
        Delta = std::min(Delta, VariableDeltaCap);
    GameTime += Delta;
    FFrameWorked = true;
    Call(OnUpdate);
    Call(OnRender);
}

void TDXApplication::Render() {
    LastRender = Now;
    CountFrame();
    Call(OnRender);
    if (ScreenshotRequest)
        TakeScreenshot();
    Sleep(1);
}

void TDXApplication::CountFrame() {
    ++FpsFrames;
    FpsElapsed = Now - FpsStart;
    if (FpsElapsed > 1000) {
        FPS = static_cast<float>(FpsFrames * 1000.0 / FpsElapsed);
        FpsStart += 1000;
        FpsFrames = 0;
    }
}

void TDXApplication::TakeScreenshot() {
    // Cleared first: a request that cannot be served must not hold rendering on every step.
    ScreenshotRequest = false;
    try {
        Call(OnScreenshot);
    } catch (const std::exception& error) {
        // A picture that cannot be written is no reason to end the game.
        ShowError(error);
    }
}

} // namespace DXApp
