// The loading screen runs a task on a worker thread inside the application's nested
// loop: the loop keeps ticking at 10 a second and drawing the loading picture, the rate
// goes back to 100 afterwards, and a failing task's message comes back as an exception.
#include "ui/frontend/LoadingScreen.h"
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/data/MainData.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/GlobalDataFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using FrontEnd::TLoadingScreen;

std::atomic<bool> ReleaseTask{false};

void WaitForRelease() {
    while (!ReleaseTask.load())
        std::this_thread::yield();
}
void FailLikeAMissingFile() {
    throw ClassLib::EFOpenError("File not found in archive.");
}
void DoNothing() {}
std::atomic<bool> TaskDone{false};
void MarkDone() {
    TaskDone = true;
}

class LoadingScreenTest : public ::testing::Test {
protected:
    LoadingScreenTest() {
        DXApp::Application = &App;
        App.Create(
            Win32::GetModuleHandle(nullptr), "Varnholt", "VRNWindow", 0xA0, 100, nullptr,
            [this] { Windows.Tick(); },
            [this] {
                if (D3DFrame::D3DFramework)
                    Windows.Draw(D3DFrame::D3DFramework->BackBuffer());
            },
            nullptr, nullptr, nullptr, nullptr,
            [this](Win32::UINT msg, Win32::WPARAM wParam, Win32::LPARAM lParam) {
                Windows.HandleMessage(msg, wParam, lParam);
            });
        App.Active = true;
        D3DFrame::D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
            App.Window, "Varnholt", 0x03, 800, 600, 16, [](const Win32::DDSURFACEDESC2& mode) {
                return mode.ddpfPixelFormat.dwRGBBitCount == 16;
            });
        App.SetFullscreen(-1, 50, 50, 800, 600);
        Data2::CreateMainData();
        Screen = new TLoadingScreen(&Windows); // owned by the window system
        ReleaseTask = false;
    }
    ~LoadingScreenTest() override {
        D3DFrame::D3DFramework.reset();
        DXApp::Application = nullptr;
    }

    uint32_t BackBufferPixel(int x, int y) const {
        return TestSupport::ReadPixels(
            *D3DFrame::D3DFramework->BackBuffer())[size_t(y) * 800 + size_t(x)];
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    TestSupport::TInstalledData Data{TestSupport::TGlobalDataFixture{}};
    DXApp::TDXApplication App;
    DXWin::TDXWindowSystem Windows;
    TLoadingScreen* Screen = nullptr;
};

TEST_F(LoadingScreenTest, TheLoopTicksAtTenASecondWhileTheTaskRuns) {
    // A window of the same loop watches the rate and lets the task end after 5 ticks.
    std::vector<uint32_t> rates;
    auto* watcher = new DXWin::TDXWindow(&Windows, 0, 0);
    watcher->OnTick = [&](DXWin::TDXControl*) {
        rates.push_back(App.TicksPerSecond);
        if (rates.size() == 5)
            ReleaseTask = true;
    };
    watcher->Show();

    const uint32_t before = Clock.Now();
    Screen->RunTask(WaitForRelease);
    ASSERT_GE(rates.size(), 5u);
    for (uint32_t rate : rates)
        EXPECT_EQ(rate, 10u);
    EXPECT_GE(Clock.Now() - before, 400u); // 5 ticks of game time at 10 a second
    EXPECT_EQ(App.TicksPerSecond, 100u);
    EXPECT_FALSE(Screen->Visible());
}

TEST_F(LoadingScreenTest, ATaskThatEndsAtOnceStillShowsThePicture) {
    D3DFrame::D3DFramework->ClearBackBuffer();
    ASSERT_EQ(BackBufferPixel(0, 0), 0u);
    Screen->RunTask(DoNothing);
    // The loading picture lies at (0, 0); its first pixel is not black.
    EXPECT_NE(BackBufferPixel(0, 0), 0u);
    EXPECT_EQ(App.TicksPerSecond, 100u);
    Screen->RunTask(DoNothing); // the screen is used again for every task
}

TEST_F(LoadingScreenTest, AFrameThatNeverComesDoesNotHoldTheScreenOpen) {
    App.OnRender = nullptr;
    // A screen that stayed open would hold the loop: the watcher ends it 50 ticks after
    // the task returned. Ticks before that don't count, and each tick after it gives the
    // worker real time to wind up: the manual clock lets the loop spin as fast as it can,
    // and how soon the worker starts and ends depends on the machine's load.
    int ticksAfterTask = 0;
    TaskDone = false;
    auto* watcher = new DXWin::TDXWindow(&Windows, 0, 0);
    watcher->OnTick = [&](DXWin::TDXControl*) {
        if (!TaskDone)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
        if (++ticksAfterTask == 50)
            App.Quit = true;
    };
    watcher->Show();
    Screen->RunTask(MarkDone);
    EXPECT_FALSE(App.Quit);
}

TEST_F(LoadingScreenTest, AFailingTaskRaisesItsMessageAfterTheScreenClosed) {
    EXPECT_EQ(TestSupport::ErrorOf([this] { Screen->RunTask(FailLikeAMissingFile); }),
              "File not found in archive.");
    EXPECT_FALSE(Screen->Visible());
    EXPECT_EQ(App.TicksPerSecond, 100u);
}

} // namespace
