// Full screen and windowed presentation with their fallbacks, the lost display,
// and screenshots.
#include "engine/core/Base.h"
#include "engine/core/DXErrors.h"
#include "platform/display/DirectDraw.h"
#include "platform/display/SdlDisplayWindow.h"
#include "tests/engine/app/ApplicationFixture.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace DXApp;
using namespace Win32;
using D3DFrame::D3DFramework;

namespace {

RECT WindowPlacement(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

int32_t ModeWidth() {
    return int32_t(D3DFramework->CurrentMode().dwWidth);
}

// A machine whose primary surfaces fail while the counter of the kind asked for
// is above 0; each failure counts one down.
struct TFaults {
    int FullScreen = 0;
    int Windowed = 0;
};

TDisplayHardware FaultyMachine(const std::shared_ptr<TFaults>& faults) {
    TDisplayHardware machine = DefaultDisplayHardware();
    machine.Adapters[0].SurfaceFault = [faults](const DDSURFACEDESC2& desc) -> HRESULT {
        if (!(desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE))
            return DD_OK;
        int& left = (desc.ddsCaps.dwCaps & DDSCAPS_FLIP) ? faults->FullScreen : faults->Windowed;
        if (left <= 0)
            return DD_OK;
        --left;
        return DDERR_GENERIC;
    };
    return machine;
}

std::vector<uint8_t> ReadFile(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

} // namespace

TEST_F(ApplicationTest, SwitchesBetweenWindowAndFullScreenAndBack) {
    Create(0xA0);
    StartWindowed();
    EXPECT_EQ(Calls, TCalls{"after device change"});
    EXPECT_TRUE(D3DFramework->Windowed());
    EXPECT_EQ(App.ClientRect, (RECT{300, 170, 1100, 770}));
    EXPECT_EQ(D3DFramework->WindowRect(), App.ClientRect);
    EXPECT_EQ(DWORD(GetWindowLong(App.Window, GWL_STYLE)), FixedWindowStyle | WS_VISIBLE);
    EXPECT_TRUE(App.Active);
    EXPECT_FALSE(App.Switching);

    Calls.clear();
    App.ToggleToFullscreen();
    EXPECT_EQ(Calls, (TCalls{"before mode change", "after mode change", "after device change"}));
    EXPECT_TRUE(App.IsFullScreen());
    EXPECT_EQ(ModeWidth(), 800); // the default mode
    EXPECT_EQ(DWORD(GetWindowLong(App.Window, GWL_STYLE)), FullScreenStyle | WS_VISIBLE);
    EXPECT_EQ(DWORD(GetWindowLong(App.Window, GWL_EXSTYLE)), WS_EX_TOPMOST);
    EXPECT_TRUE(SdlDisplayWindow::Of(App.Window)->IsFullScreen());

    App.ChangeDisplayMode(0);
    EXPECT_EQ(ModeWidth(), 640);
    App.ToggleToWindowed();
    EXPECT_EQ(App.SavedMode, 0);
    EXPECT_TRUE(D3DFramework->Windowed());
    EXPECT_FALSE(SdlDisplayWindow::Of(App.Window)->IsFullScreen());
    EXPECT_EQ(WindowPlacement(App.Window), (RECT{300, 170, 1100, 770}));
    EXPECT_EQ(DWORD(GetWindowLong(App.Window, GWL_EXSTYLE)), 0u);
    App.ToggleToFullscreen();
    EXPECT_EQ(ModeWidth(), 640); // the mode it left
    EXPECT_TRUE(Boxes.Calls().empty());
}

TEST_F(ApplicationTest, StartsInFullScreenAndKeepsTheWindowForLater) {
    Create(0x20); // a window of sizable style
    StartFullScreen();
    EXPECT_EQ(Calls, TCalls{"after device change"});
    EXPECT_TRUE(App.IsFullScreen());
    EXPECT_TRUE(App.Active);
    EXPECT_TRUE(IsWindowVisible(App.Window));
    App.ToggleToWindowed();
    EXPECT_EQ(WindowPlacement(App.Window), (RECT{50, 50, 850, 650}));
    EXPECT_EQ(DWORD(GetWindowLong(App.Window, GWL_STYLE)), SizableWindowStyle | WS_VISIBLE);
    EXPECT_EQ(App.SavedMode, 1);
}

namespace {
enum class TStart { Windowed, FullScreen };
enum class TSwitch { ToFullScreen, ChangeMode, ToWindowed };
struct TFallbackCase {
    TStart Start;
    TSwitch Switch;
    uint32_t Options;
    int FullScreenFaults;
    int WindowedFaults;
    const char* Message; // the box, or the error when the options allow no fallback
    bool WindowedAfter;
    int32_t WidthAfter;
};
} // namespace

class Fallback : public ApplicationTest, public ::testing::WithParamInterface<TFallbackCase> {};

TEST_P(Fallback, AFailedSwitchIsReportedAndUndone) {
    const TFallbackCase c = GetParam();
    const auto faults = std::make_shared<TFaults>();
    TestSupport::InstalledHardware machine(FaultyMachine(faults));
    Create(c.Options);
    c.Start == TStart::Windowed ? StartWindowed() : StartFullScreen();
    faults->FullScreen = c.FullScreenFaults;
    faults->Windowed = c.WindowedFaults;
    const auto doSwitch = [&] {
        switch (c.Switch) {
        case TSwitch::ToFullScreen:
            return App.ToggleToFullscreen();
        case TSwitch::ChangeMode:
            return App.ChangeDisplayMode(0);
        case TSwitch::ToWindowed:
            return App.ToggleToWindowed();
        }
    };
    if (!(c.Options & aoModeSwitchFallback)) {
        EXPECT_EQ(TestSupport::ErrorOf(doSwitch), c.Message);
        return;
    }
    doSwitch();
    const auto boxes = Boxes.Calls();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, c.Message);
    EXPECT_EQ(boxes[0].Caption, "Varnholt");
    EXPECT_EQ(boxes[0].Type, MB_ICONERROR);
    EXPECT_EQ(D3DFramework->Windowed(), c.WindowedAfter);
    EXPECT_EQ(ModeWidth(), c.WidthAfter);
    EXPECT_FALSE(App.Switching);
    EXPECT_EQ(Calls.back(), "after device change");
}

INSTANTIATE_TEST_SUITE_P(
    Application, Fallback,
    ::testing::Values(
        TFallbackCase{TStart::Windowed, TSwitch::ToFullScreen, 0xA8, 9, 0,
                      "CreateSurface failed (DDERR_GENERIC).\n\nError switching to fullscreen "
                      "mode. Switching back to desktop.",
                      true, 800},
        TFallbackCase{TStart::Windowed, TSwitch::ToFullScreen, 0xA0, 9, 0,
                      "CreateSurface failed (DDERR_GENERIC).", false, 0},
        TFallbackCase{TStart::FullScreen, TSwitch::ChangeMode, 0xA8, 1, 0,
                      "CreateSurface failed (DDERR_GENERIC).\n\nError setting display mode. "
                      "Restoring previous.",
                      false, 800},
        TFallbackCase{TStart::FullScreen, TSwitch::ToWindowed, 0xA8, 0, 1,
                      "CreateSurface failed (DDERR_GENERIC).\n\nError switching to windowed "
                      "mode. Switching back to fullscreen.",
                      false, 800}));

TEST_F(ApplicationTest, AWindowTheDriverCannotShowFallsBackToFullScreen) {
    TDisplayHardware machine = DefaultDisplayHardware();
    machine.Adapters[0].HardwareCaps.dwCaps2 &= ~DDCAPS2_CANRENDERWINDOWED;
    TestSupport::InstalledHardware installed(machine);
    Create(0xA4);
    StartWindowed();
    ASSERT_EQ(Boxes.Calls().size(), 1u);
    EXPECT_EQ(Boxes.Calls()[0].Text, "Driver does not support windowed mode.\n\nError "
                                     "initializing windowed mode. Switching to fullscreen.");
    EXPECT_TRUE(App.IsFullScreen());
    EXPECT_EQ(App.WindowRect, (RECT{50, 50, 690, 530}));

    TDXApplication app;
    app.Create(nullptr, "Varnholt", "Other", 0xA0, 100, nullptr, nullptr, nullptr, nullptr, nullptr,
               nullptr, nullptr, nullptr);
    D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(app.Window, "Varnholt", 0x03, 800, 600,
                                                             16, Accept16Bit);
    EXPECT_EQ(TestSupport::ErrorOf([&] { app.SetWindowed(SW_SHOWNORMAL, 0, 0, 800, 600); }),
              "Driver does not support windowed mode.");
    EXPECT_FALSE(app.Switching);
}

TEST_F(ApplicationTest, AMinimisedStartLeavesTheApplicationWaiting) {
    Create(0xA0);
    MakeFramework();
    App.SetWindowed(SW_SHOWMINIMIZED, 300, 170, 800, 600);
    EXPECT_FALSE(App.Active);
    EXPECT_EQ(App.ClientRect, (RECT{0, 0, 16, 16}));
    Calls.clear();
    App.ChangeDisplayMode(0); // nothing while minimised
    EXPECT_TRUE(Calls.empty());
}

TEST_F(ApplicationTest, ALostDisplayIsWaitedForAndRestored) {
    Create(0xA0);
    StartWindowed();
    App.RunFrame();
    Calls.clear();

    D3DFramework->DirectDraw()->SimulateDisplayTaken();
    Clock.Advance(20);
    App.RunFrame();
    EXPECT_TRUE(Calls.empty()); // another program holds the display
    D3DFramework->DirectDraw()->SimulateDisplayReturned();
    App.RunFrame();
    EXPECT_EQ(Calls, (TCalls{"restore", "render"}));

    // The desktop changed under the window: a new device.
    Calls.clear();
    D3DFramework->DirectDraw()->SimulateDisplayTaken(DDERR_WRONGMODE);
    App.RunFrame();
    EXPECT_EQ(Calls, (TCalls{"before mode change", "after mode change", "after device change"}));
    EXPECT_EQ(D3DFramework->TestCooperativeLevel(), 0);
}

TEST_F(ApplicationTest, AFailedRestoreEndsTheProgram) {
    Create(0xA0);
    StartFullScreen();
    App.OnRestore = [] { throw ClassLib::Exception("Sprites are gone."); };
    D3DFramework->DirectDraw()->SimulateDisplayTaken();
    D3DFramework->DirectDraw()->SimulateDisplayReturned();
    App.RunFrame();
    ASSERT_EQ(Boxes.Calls().size(), 1u);
    EXPECT_EQ(Boxes.Calls()[0].Text, "Sprites are gone.\nFatal error - program will now exit.");
    EXPECT_TRUE(App.Quit);
    EXPECT_EQ(App.RunMessageLoop(), 0);
    EXPECT_EQ(Count("destroy"), 1);
}

class Screenshot : public ApplicationTest {
protected:
    void SetUp() override {
        FOldProgramPath = Base::ProgramPath;
        Base::ProgramPath = Dir.Path();
    }
    void TearDown() override { Base::ProgramPath = FOldProgramPath; }

    std::string Bmp(const std::string& name) const { return Dir.Path() + "Bmp/" + name; }

    TestSupport::TempDir Dir;

private:
    std::string FOldProgramPath;
};

TEST_F(Screenshot, TheRequestedFrameIsSavedInANewBmpFolder) {
    Create(0xA0);
    StartFullScreen();
    App.RunFrame();
    App.OnRender = [] {
        IDirectDrawSurface7& back = *D3DFramework->BackBuffer();
        TestSupport::FillSurface(back, 0x07E0);
        DDBLTFX fx;
        fx.dwSize = sizeof fx;
        fx.dwFillColor = 0xF81F;
        const RECT corner{0, 0, 1, 1};
        back.Blt(&corner, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    };
    // Behind by three ticks, the request still renders at once.
    App.ScreenshotRequest = true;
    Clock.Advance(35);
    App.RunFrame();
    EXPECT_FALSE(App.ScreenshotRequest);
    EXPECT_EQ(App.ScreenshotCounter, 1);

    const std::vector<uint8_t> bytes = ReadFile(Bmp("000000.bmp"));
    ASSERT_EQ(bytes.size(), 66u + 800 * 600 * 2);
    EXPECT_EQ(Read32(bytes, 18), 800u);
    EXPECT_EQ(Read32(bytes, 22), 600u);
    EXPECT_EQ(Read32(bytes, 54), 0xF800u); // the display's masks
    EXPECT_EQ(Read32(bytes, 58), 0x07E0u);
    EXPECT_EQ(Read32(bytes, 62), 0x001Fu);
    const size_t topRow = 66 + size_t(599) * 800 * 2; // rows are stored bottom up
    EXPECT_EQ(bytes[topRow] | bytes[topRow + 1] << 8, 0xF81F);
    EXPECT_EQ(bytes[topRow + 2] | bytes[topRow + 3] << 8, 0x07E0);
    EXPECT_TRUE(Boxes.Calls().empty());
}

TEST_F(Screenshot, ScreenshotsContinueAfterTheHighestNumber) {
    std::filesystem::create_directories(Dir.Path() + "Bmp/older");
    for (const char* name : {"000007.bmp", "000012.BMP", "12.bmp", "000099.txt", "abcdef.bmp"})
        std::ofstream(Bmp(name)) << "x";
    Create(0xA0);
    StartFullScreen();
    App.SaveScreenshot();
    App.SaveScreenshot();
    EXPECT_TRUE(std::filesystem::exists(Bmp("000013.bmp")));
    EXPECT_TRUE(std::filesystem::exists(Bmp("000014.bmp")));
    EXPECT_EQ(ReadFile(Bmp("000012.BMP")).size(), 1u); // untouched
    EXPECT_EQ(App.ScreenshotCounter, 15);
}

TEST_F(Screenshot, AScreenshotThatCannotBeWrittenIsReportedAndTheGameGoesOn) {
    Base::ProgramPath = "/proc/vrn-no-such-folder/";
    Create(0xA0);
    StartFullScreen();
    App.RunFrame();
    App.ScreenshotRequest = true;
    Clock.Advance(10);
    App.RunFrame();
    ASSERT_EQ(Boxes.Calls().size(), 1u);
    EXPECT_NE(Boxes.Calls()[0].Text.find("000000.bmp"), std::string::npos) << Boxes.Calls()[0].Text;
    EXPECT_FALSE(App.ScreenshotRequest);
    EXPECT_FALSE(App.Quit);
}

TEST_F(Screenshot, AWindowOnADeeperDesktopIsSavedInSixteenBits) {
    Create(0xA0);
    StartWindowed(); // the back buffer has the 32-bit desktop's format
    TestSupport::FillSurface(*D3DFramework->BackBuffer(), 0x00FF8040);
    App.SaveScreenshot();
    const std::vector<uint8_t> bytes = ReadFile(Bmp("000000.bmp"));
    ASSERT_EQ(bytes.size(), 66u + 800 * 600 * 2);
    EXPECT_EQ(Read32(bytes, 54), 0xF800u);
    EXPECT_EQ(bytes[66] | bytes[67] << 8, 0xFC08);
}
