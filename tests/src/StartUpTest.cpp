// Start-up and shutdown in the test's own process, on the dummy SDL drivers with a
// manual clock and recorded message boxes: the whole order on good data, the error box
// on bad data, the shutdown steps exactly once and in order, and display changes that
// keep every sprite and font.
#include "src/StartUp.h"
#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/graphics/GfxSurfaces.h"
#include "engine/sound/SoundStartup.h"
#include "game/world/data/DataArchives.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "platform/display/Direct3D.h"
#include "platform/win32/Clock.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinQueue.h"
#include "src/AppCallbacks.h"
#include "src/GameWindows.h"
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using TSteps = std::vector<std::string>;

const TSteps ShutdownOrder = {
    "sound tracks stopped", "window system",   "global data", "main data", "archives",
    "Direct3D framework",   "sound framework",
};

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() {
        DXApp::Application = &App;
        FOldProgramPath = Base::ProgramPath;
        FOldDataPath = Data::DataPath;
        Base::ProgramPath = Dir.Path();
        std::ofstream(Dir.File("data.ini")) << "[Main]\r\nDataPath=Data\\\r\n";
        Options.OnShutdownStep = [this](const char* step) { Steps.push_back(step); };
    }
    ~StartUpTest() override {
        DXApp::Application = nullptr;
        Base::ProgramPath = FOldProgramPath;
        Data::DataPath = FOldDataPath;
        Data2::SavePath = "";
    }

    std::string DataFolder() const { return Dir.File("Data") + "/"; }
    void WriteData(const TestSupport::TGlobalDataFixture& fixture = {}) {
        fixture.WriteFolders(DataFolder());
    }

    // Everything start-up made is gone again.
    static void ExpectAllGone() {
        EXPECT_EQ(Main::WindowSystem, nullptr);
        EXPECT_EQ(Data2::GlobalData, nullptr);
        EXPECT_EQ(Data2::MainData, nullptr);
        EXPECT_EQ(Data2::GlobalsArchive, nullptr);
        EXPECT_EQ(Data2::SoundsArchive, nullptr);
        EXPECT_EQ(D3DFrame::D3DFramework, nullptr);
        EXPECT_EQ(Main::DSFramework, nullptr);
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::TManualClock Clock{1000};
    Win32::TScopedClock ScopedClock{Clock};
    Win32::TMessageBoxRecorder Boxes;
    Win32::TScopedMessageBoxHandler ScopedBoxes{Boxes};
    DXApp::TDXApplication App;
    TestSupport::TempDir Dir;
    Main::TStartOptions Options;
    TSteps Steps;

private:
    ClassLib::AnsiString FOldProgramPath;
    ClassLib::AnsiString FOldDataPath;
};

TEST_F(StartUpTest, RunsOnGoodDataAndShutsDownOnceInOrder) {
    WriteData();
    // An intro video that exists is skipped as quietly as those that do not.
    std::filesystem::create_directories(DataFolder() + "Video");
    std::ofstream(DataFolder() + "Video/intro2.avi") << "not a video";
    Options.RunMilliseconds = 300;

    EXPECT_EQ(Main::RunProgram(Options), 0);
    EXPECT_TRUE(Boxes.Calls().empty()) << Boxes.Calls()[0].Text;
    EXPECT_EQ(Steps, ShutdownOrder);
    EXPECT_EQ(App.Window, nullptr);
    ExpectAllGone();
    EXPECT_TRUE(std::filesystem::is_directory(DataFolder() + "Save"));
}

struct TBadStart {
    const char* What;
    void (*Change)(TestSupport::TGlobalDataFixture&);
    const char* Message;
};

const TBadStart BadStarts[] = {
    {"no sounds archive", [](TestSupport::TGlobalDataFixture& f) { f.Archives.erase("sounds"); },
     "Archive 'sounds' not found."},
    {"a damaged interface library",
     [](TestSupport::TGlobalDataFixture& f) { f.Archives["graphics"]["iface.gfxl"].resize(30); },
     "graphics/iface.gfxl: Invalid data."},
    {"a bad token in the global data",
     [](TestSupport::TGlobalDataFixture& f) {
         f.SetText("globals", "pictures.txt", "1 2 three\n");
     },
     "globals/pictures.txt: 'three' is not a valid integer value"},
};

class BadStart : public StartUpTest, public ::testing::WithParamInterface<TBadStart> {};

TEST_P(BadStart, EndsStartUpWithABoxAndEverythingGoes) {
    TestSupport::TGlobalDataFixture fixture;
    GetParam().Change(fixture);
    WriteData(fixture);

    EXPECT_EQ(Main::RunProgram(Options), 1);
    ASSERT_EQ(Boxes.Calls().size(), 1u);
    EXPECT_EQ(Boxes.Calls()[0].Text, GetParam().Message);
    EXPECT_EQ(Boxes.Calls()[0].Caption, "Varnholt");
    EXPECT_EQ(Boxes.Calls()[0].Type & Win32::MB_ICONMASK, Win32::MB_ICONERROR);
    EXPECT_EQ(Steps, ShutdownOrder);
    ExpectAllGone();
}

INSTANTIATE_TEST_SUITE_P(Cases, BadStart, ::testing::ValuesIn(BadStarts));

TEST_F(StartUpTest, WithoutAWindowTheShutdownStepsStillRun) {
    App.Title = "Varnholt";
    // A window class the program cannot register makes Create fail before any window.
    Win32::WNDCLASS taken;
    taken.lpszClassName = "VRNWindow";
    taken.lpfnWndProc = [](Win32::HWND w, Win32::UINT m, Win32::WPARAM wp, Win32::LPARAM lp) {
        return Win32::DefWindowProc(w, m, wp, lp);
    };
    if (!Win32::RegisterClass(taken))
        GTEST_SKIP() << "window classes may be registered twice here";
    EXPECT_EQ(Main::RunProgram(Options), 1);
    ASSERT_EQ(Boxes.Calls().size(), 1u);
    EXPECT_EQ(Boxes.Calls()[0].Text, "Register class failed.");
    EXPECT_EQ(Steps, TSteps(ShutdownOrder.begin() + 1, ShutdownOrder.end()));
}

class RunningGame : public StartUpTest {
protected:
    RunningGame() {
        WriteData();
        Main::StartUp(Options, [this] { Main::OnDestroy(Options.OnShutdownStep); });
    }
    ~RunningGame() override {
        if (Win32::IsWindow(App.Window))
            Win32::DestroyWindow(App.Window);
    }

    static Gfx::TSprite* BlendedCommonSprite() { return Data2::GlobalData->CommonSprites[1]; }

    static void ExpectEverySurfaceThere(const char* when) {
        SCOPED_TRACE(when);
        const Data2::TGlobalData& global = *Data2::GlobalData;
        // Blended sprites live on as surfaces only; fonts 3 and 4 have glyph surfaces.
        for (Gfx::TSprite* sprite : {BlendedCommonSprite(), Data2::MainData->Sprites[3]}) {
            EXPECT_TRUE(sprite->Flags & Gfx::sfSurfaceOnly);
            EXPECT_NE(sprite->Surface(0), nullptr);
        }
        Gfx::TSprite* icon = global.SpellLibrary.FindSprite(2);
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(icon->Surface(0), nullptr);
        for (int slot : {2, 3}) {
            EXPECT_TRUE(global.UIFonts[slot]->SurfaceBuilt());
            EXPECT_NE(global.UIFonts[slot]->GlyphSurface(), nullptr);
        }
        Win32::D3DVIEWPORT7 viewport;
        D3DFrame::D3DFramework->Device()->GetViewport(&viewport);
        EXPECT_EQ(viewport.dwWidth, std::min(800u, D3DFrame::D3DFramework->CurrentMode().dwWidth));
        uint32_t value = 0;
        D3DFrame::D3DFramework->Device()->GetRenderState(Win32::D3DRENDERSTATE_SHADEMODE, &value);
        EXPECT_EQ(value, Win32::D3DSHADE_FLAT);
        D3DFrame::D3DFramework->Device()->GetTextureStageState(0, Win32::D3DTSS_ADDRESS, &value);
        EXPECT_EQ(value, Win32::D3DTADDRESS_CLAMP);
    }
};

TEST_F(RunningGame, DisplayChangesKeepEverySpriteAndFont) {
    ASSERT_NE(Data2::GlobalData, nullptr);
    ExpectEverySurfaceThere("after start-up");
    App.ChangeDisplayMode(0);
    EXPECT_EQ(D3DFrame::D3DFramework->CurrentMode().dwWidth, 640u);
    ExpectEverySurfaceThere("after a mode change");
    App.ChangeDisplayMode(1);
    ExpectEverySurfaceThere("after changing back");
    Main::OnRestoreSurfaces();
    ExpectEverySurfaceThere("after restoring");

    Win32::DestroyWindow(App.Window);
    EXPECT_EQ(Steps, ShutdownOrder);
    ExpectAllGone();
}

TEST_F(RunningGame, CtrlGTurnsContinuousScreenshotsOnAndOff) {
    const auto pressCtrlG = [this] {
        Win32::PostMessage(App.Window, Win32::WM_KEYDOWN, Win32::VK_CONTROL, 1);
        Win32::PostMessage(App.Window, Win32::WM_KEYDOWN, 'G', 1);
        Win32::PostMessage(App.Window, Win32::WM_KEYUP, 'G', Win32::LParamFromBits(0xC0000001));
        Win32::PostMessage(App.Window, Win32::WM_KEYUP, Win32::VK_CONTROL,
                           Win32::LParamFromBits(0xC0000001));
        Win32::MSG msg;
        while (Win32::PeekMessage(&msg, nullptr, 0, 0, Win32::PM_REMOVE)) {
            Win32::TranslateMessage(&msg);
            Win32::DispatchMessage(&msg);
        }
    };
    const auto requestsOnTicks = [this] {
        std::vector<uint32_t> ticks;
        for (uint32_t tick = 100; tick < 108; ++tick) {
            App.TickCount = tick;
            App.ScreenshotRequest = false;
            Main::OnUpdate();
            if (App.ScreenshotRequest)
                ticks.push_back(tick);
        }
        App.ScreenshotRequest = false;
        return ticks;
    };
    EXPECT_TRUE(requestsOnTicks().empty());
    pressCtrlG();
    EXPECT_EQ(requestsOnTicks(), (std::vector<uint32_t>{100, 104}));
    pressCtrlG();
    EXPECT_TRUE(requestsOnTicks().empty());
}

} // namespace
