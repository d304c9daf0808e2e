// A window system on a desktop of its own with a manual clock. Input is posted to
// the desktop's message queue and read back from it, as the program reads it.
#pragma once

#include "engine/widgets/DXButton.h"
#include "engine/widgets/DXWindowSystem.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/VirtualKeys.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class WidgetTest : public ::testing::Test {
protected:
    using TCalls = std::vector<std::string>;

    // Posts a message and delivers everything waiting to the window system.
    void Send(Win32::UINT msg, Win32::WPARAM wParam, Win32::LPARAM lParam) {
        Win32::PostMessage(nullptr, msg, wParam, lParam);
        Pump();
    }
    void Pump() {
        Win32::MSG msg;
        while (Win32::PeekMessage(&msg, nullptr, 0, 0, Win32::PM_REMOVE)) {
            Win32::TranslateMessage(&msg);
            Windows.HandleMessage(msg.message, msg.wParam, msg.lParam);
        }
    }
    void Mouse(Win32::UINT msg, int x, int y, Win32::WPARAM keys = 0) {
        Send(msg, keys, Win32::PointToLParam(x, y));
    }
    void MoveTo(int x, int y) { Mouse(Win32::WM_MOUSEMOVE, x, y); }
    void ClickAt(int x, int y) {
        MoveTo(x, y);
        Mouse(Win32::WM_LBUTTONDOWN, x, y, Win32::MK_LBUTTON);
        Mouse(Win32::WM_LBUTTONUP, x, y);
    }
    void Key(Win32::UINT vk) {
        Send(Win32::WM_KEYDOWN, vk, 1);
        Send(Win32::WM_KEYUP, vk, Win32::LParamFromBits(0xC0000001));
    }
    void Char(char ch) { Send(Win32::WM_CHAR, static_cast<unsigned char>(ch), 1); }
    void Wheel(int delta) {
        Send(Win32::WM_MOUSEWHEEL, Win32::MAKEWPARAM(0, static_cast<uint32_t>(delta)), 0);
    }

    // A shown window at (x, y) of the given size; owned by the window system.
    DXWin::TDXWindow* MakeWindow(int x, int y, int width, int height, uint32_t options = 0,
                                 int dragBand = 0) {
        auto* window = new DXWin::TDXWindow(&Windows, options, dragBand);
        window->SetPosition(x, y);
        window->SetSize(width, height);
        window->Show();
        Windows.ProcessRequests();
        return window;
    }
    DXWin::TDXButton* MakeButton(DXWin::TDXWindow* window, int x, int y, int width, int height,
                                 uint32_t options = DXWin::csTakesFocus) {
        auto* button = new DXWin::TDXButton(window, window, options);
        button->SetPosition(x, y);
        button->SetSize(width, height);
        return button;
    }
    // Writes "<name> <event>" for the control's click, enter, leave and focus events.
    void Record(DXWin::TDXControl* control, const std::string& name) {
        control->OnClick = [this, name](DXWin::TDXControl*) { Calls.push_back(name + " click"); };
        control->OnMouseEnter = [this, name](DXWin::TDXControl*) {
            Calls.push_back(name + " enter");
        };
        control->OnMouseLeave = [this, name](DXWin::TDXControl*) {
            Calls.push_back(name + " leave");
        };
        control->OnGotFocus = [this, name](DXWin::TDXControl*) { Calls.push_back(name + " got"); };
        control->OnLostFocus = [this, name](DXWin::TDXControl*) {
            Calls.push_back(name + " lost");
        };
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    TCalls Calls; // outlives the windows whose events write into it
    DXWin::TDXWindowSystem Windows;
};
