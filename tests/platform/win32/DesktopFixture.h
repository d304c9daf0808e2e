// A fresh desktop on SDL's dummy video driver, a manual clock, and windows whose
// procedure records every message before handing it to the test's handler or,
// without one, to DefWindowProc.
#pragma once

#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinQueue.h"
#include "platform/win32/WinWindow.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

class DesktopTest : public ::testing::Test {
protected:
    using THandler = std::function<std::optional<Win32::LRESULT>(Win32::HWND, Win32::UINT,
                                                                 Win32::WPARAM, Win32::LPARAM)>;

    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }

    Win32::HWND CreateTestWindow(Win32::UINT classStyle = Win32::CS_DBLCLKS, int x = 0, int y = 0,
                                 int width = 640, int height = 480) {
        if (!FRegistered) {
            Win32::WNDCLASS windowClass;
            windowClass.style = classStyle;
            windowClass.lpfnWndProc = [this](Win32::HWND w, Win32::UINT m, Win32::WPARAM wp,
                                             Win32::LPARAM lp) -> Win32::LRESULT {
                Received.push_back({w, m, wp, lp, 0, {}});
                if (Handler) {
                    if (const auto result = Handler(w, m, wp, lp))
                        return *result;
                }
                return Win32::DefWindowProc(w, m, wp, lp);
            };
            windowClass.hCursor = Win32::LoadCursor(nullptr, Win32::IDC_ARROW);
            windowClass.lpszClassName = "TestWindow";
            EXPECT_NE(Win32::RegisterClass(windowClass), 0);
            FRegistered = true;
        }
        const Win32::HWND window = Win32::CreateWindowEx(0, "TestWindow", "Test", Win32::WS_POPUP,
                                                         x, y, width, height, nullptr, nullptr);
        EXPECT_NE(window, nullptr);
        Received.clear();
        return window;
    }

    // Reads, translates and dispatches every waiting message; returns those read.
    std::vector<Win32::MSG> DispatchAll() {
        std::vector<Win32::MSG> read;
        Win32::MSG msg;
        while (Win32::PeekMessage(&msg, nullptr, 0, 0, Win32::PM_REMOVE)) {
            read.push_back(msg);
            Win32::TranslateMessage(&msg);
            Win32::DispatchMessage(&msg);
        }
        return read;
    }

    // The codes of the messages the procedure received.
    std::vector<Win32::UINT> ReceivedCodes() const {
        std::vector<Win32::UINT> codes;
        for (const Win32::MSG& msg : Received)
            codes.push_back(msg.message);
        return codes;
    }

    long ReceivedCount(Win32::UINT code) const {
        const auto codes = ReceivedCodes();
        return std::count(codes.begin(), codes.end(), code);
    }

    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    THandler Handler;
    std::vector<Win32::MSG> Received;

private:
    bool FRegistered = false;
};
