// The application object on a desktop of its own under SDL's dummy video driver,
// with a manual clock, recorded message boxes and callbacks that write down
// what the loop asks of the game.
#pragma once

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "platform/classlib/Exception.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinQueue.h"
#include "platform/win32/WinWindow.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

class ApplicationTest : public ::testing::Test {
protected:
    using TCalls = std::vector<std::string>;

    struct TInput {
        Win32::UINT Message;
        Win32::WPARAM WParam;
        Win32::LPARAM LParam;
        Win32::HWND Capture; // who held the mouse when it arrived
    };

    ~ApplicationTest() override { D3DFrame::D3DFramework.reset(); }

    // The window and the callbacks, as start-up makes them.
    void Create(uint32_t options = 0xA0, uint32_t ticksPerSecond = 100) {
        App.Create(Win32::GetModuleHandle(nullptr), "Varnholt", "VRNWindow", options,
                   ticksPerSecond, Record("destroy"), Record("update"), Record("render"),
                   Record("restore"), Record("before mode change"), Record("after mode change"),
                   Record("after device change"),
                   [this](Win32::UINT message, Win32::WPARAM wParam, Win32::LPARAM lParam) {
                       Inputs.push_back({message, wParam, lParam, Win32::GetCapture()});
                       if (InputFails && message == Win32::WM_KEYDOWN)
                           throw ClassLib::Exception("Input failed.");
                   });
        App.OnActivate = Record("activate");
        App.OnDeactivate = Record("deactivate");
        App.OnAltDown = Record("alt down");
        App.OnAltUp = Record("alt up");
    }

    DXApp::TCallback Record(std::string name) {
        return [this, name] { Calls.push_back(name); };
    }

    long Count(const std::string& name) const {
        return std::count(Calls.begin(), Calls.end(), name);
    }

    static bool Accept16Bit(const Win32::DDSURFACEDESC2& mode) {
        const uint32_t w = mode.dwWidth, h = mode.dwHeight;
        return mode.ddpfPixelFormat.dwRGBBitCount == 16 &&
               ((w == 640 && h == 480) || (w == 800 && h == 600) || (w == 1024 && h == 768));
    }

    void MakeFramework() {
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            App.Window, "Varnholt", 0x03, 800, 600, 16, Accept16Bit);
    }
    void StartFullScreen() {
        MakeFramework();
        App.SetFullscreen(-1, 50, 50, 800, 600);
    }
    void StartWindowed() {
        MakeFramework();
        App.SetWindowed(Win32::SW_SHOWNORMAL, 300, 170, 800, 600);
    }

    // Reads, translates and dispatches every waiting message.
    void DispatchAll() {
        Win32::MSG msg;
        while (Win32::PeekMessage(&msg, nullptr, 0, 0, Win32::PM_REMOVE)) {
            Win32::TranslateMessage(&msg);
            Win32::DispatchMessage(&msg);
        }
    }

    static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    Win32::TMessageBoxRecorder Boxes;
    Win32::TScopedMessageBoxHandler ScopedBoxes{Boxes};
    TCalls Calls;
    std::vector<TInput> Inputs;
    bool InputFails = false;
    DXApp::TDXApplication App;
};
