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
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "platform/display/Direct3D.h"
#include "platform/win32/Clock.h"
#include "platform/win32/CloseSignals.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinMessages.h"
#include "platform/win32/WinQueue.h"
#include "src/AppCallbacks.h"
#include "src/GameWindows.h"
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/TempDir.h"
#include "ui/game/Game.h"
#include "ui/game/GameSettings.h"
#include "ui/widgets/GameView.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using TSteps = std::vector<std::string>;

const TSteps ShutdownOrder = {
    "sound tracks stopped", "settings written", "game",     "window system",
    "global data",          "main data",        "archives", "Direct3D framework",
    "sound framework",
};
// Without a game object nothing read the settings, so nothing writes them.
const TSteps ShutdownOrderWithoutGame = [] {
    TSteps steps = ShutdownOrder;
    steps.erase(steps.begin() + 1);
    return steps;
}();

class StartUpTest : public ::testing::Test {
protected:
    StartUpTest() {
        DXApp::Application = &App;
        FOldProgramPath = Base::ProgramPath;
        FOldDataPath = Data::DataPath;
        Base::ProgramPath = Dir.Path();
        std::ofstream(Dir.File("data.ini")) << "[Main]\r\nDataPath=Data\\\r\n";
        Options.OnShutdownStep = [this](const char* step) { Steps.push_back(step); };
        // The briefing would roll for a minute of game time: the player here reads it
        // at once.
        Options.OnGameCreated = [this](Main::TGame& game) {
            game.Screens.ScenarioBook = [this](const ClassLib::AnsiString& caption,
                                               const ClassLib::AnsiString&) {
                Briefings.push_back(caption);
            };
        };
    }
    ~StartUpTest() override {
        DXApp::Application = nullptr;
        Base::ProgramPath = FOldProgramPath;
        Data::DataPath = FOldDataPath;
        Data2::SavePath = "";
        GameData::GameSettings = FOldSettings;
    }

    std::string DataFolder() const { return Dir.File("Data") + "/"; }
    void WriteData(const TestSupport::TGlobalDataFixture& fixture = {}) {
        fixture.WriteFolders(DataFolder());
    }
    // The game's own data, with the campaign, which the build writes beside the program.
    void UseGameData() const {
        std::ofstream(Dir.File("data.ini")) << "[Main]\r\nDataPath=" VRN_GAME_DATA "/\r\n";
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
        EXPECT_EQ(Main::Game, nullptr);
        EXPECT_EQ(Main::GameView, nullptr);
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
    std::vector<std::string> Briefings; // the captions of the briefings shown
    TSteps Steps;

private:
    ClassLib::AnsiString FOldProgramPath;
    ClassLib::AnsiString FOldDataPath;
    GameData::TGameSettings FOldSettings = GameData::GameSettings;
};

TEST_F(StartUpTest, RunsOnGoodDataAndShutsDownOnceInOrder) {
    UseGameData();
    Options.RunMilliseconds = 300;

    EXPECT_EQ(Main::RunProgram(Options), 0);
    EXPECT_TRUE(Boxes.Calls().empty()) << Boxes.Calls()[0].Text;
    EXPECT_EQ(Steps, ShutdownOrder);
    EXPECT_EQ(App.Window, nullptr);
    ExpectAllGone();
    // The settings the game read (none: the defaults) wait in the program's folder.
    EXPECT_TRUE(std::filesystem::exists(Dir.File("vrn.ini")));
}

TEST_F(StartUpTest, DataWithoutTheCampaignEndStartUpWithABoxAfterTheVideos) {
    WriteData();
    // An intro video that exists is skipped as quietly as those that do not.
    std::filesystem::create_directories(DataFolder() + "Video");
    std::ofstream(DataFolder() + "Video/intro2.avi") << "not a video";

    EXPECT_EQ(Main::RunProgram(Options), 1);
    ASSERT_EQ(Boxes.Calls().size(), 1u);
    EXPECT_NE(Boxes.Calls()[0].Text.find("Data folder: " + DataFolder()), std::string::npos)
        << Boxes.Calls()[0].Text;
    EXPECT_EQ(Steps, ShutdownOrder);
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
    // The problem, then the folder searched and where that came from.
    EXPECT_EQ(Boxes.Calls()[0].Text, std::string(GetParam().Message) + "\n\nData folder: " +
                                         DataFolder() + " (named by " + Dir.File("data.ini") + ")");
    EXPECT_EQ(Boxes.Calls()[0].Caption, "Varnholt");
    EXPECT_EQ(Boxes.Calls()[0].Type & Win32::MB_ICONMASK, Win32::MB_ICONERROR);
    EXPECT_EQ(Steps, ShutdownOrderWithoutGame);
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
    EXPECT_EQ(Steps, TSteps(ShutdownOrderWithoutGame.begin() + 1, ShutdownOrderWithoutGame.end()));
}

class RunningGame : public StartUpTest {
protected:
    RunningGame() {
        UseGameData();
        Main::StartUp(Options, [this] { Main::OnDestroy(Options.OnShutdownStep); });
    }
    ~RunningGame() override {
        if (Win32::IsWindow(App.Window))
            Win32::DestroyWindow(App.Window);
    }

    // The first fog-edge shade.
    static Gfx::TSprite* BlendedCommonSprite() { return Data2::GlobalData->CommonSprites[10]; }

    static void ExpectEverySurfaceThere(const char* when) {
        SCOPED_TRACE(when);
        const Data2::TGlobalData& global = *Data2::GlobalData;
        // Blended sprites live on as surfaces only; fonts 3 and 4 have glyph surfaces.
        Gfx::TSprite* blended = BlendedCommonSprite();
        EXPECT_TRUE(blended->Flags & Gfx::sfSurfaceOnly);
        EXPECT_NE(blended->Surface(0), nullptr);
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

TEST_F(RunningGame, CampaignLevelOneRunsWithPlayerOneAtThisMachine) {
    ASSERT_NE(Main::Game, nullptr);
    EXPECT_EQ(Main::GameView, Main::Game.get());
    ASSERT_NE(Main::Game->Scenario, nullptr);
    EXPECT_EQ(Main::Game->Level, 1);
    EXPECT_TRUE(Main::Game->Active);
    EXPECT_EQ(Briefings, std::vector<std::string>{"1. The Quiet Vale"});
    GameData::TScenario& scenario = *Main::Game->Scenario;
    EXPECT_EQ(scenario.ViewingPlayer(), scenario.PlayerAt(1));
    EXPECT_EQ(scenario.PlayerAt(1)->Type, GameData::ptLocal);
    for (int i = 0; i < scenario.PlayerCount(); ++i)
        if (i != 1) {
            EXPECT_EQ(scenario.Players[i]->Type, GameData::ptComputer) << i;
        }
    // The updates run the game: the computer players before player 1 end their turns.
    for (int update = 0; update < 3000 && scenario.CurrentPlayerIndex != 1; ++update) {
        ++App.TickCount;
        Main::OnUpdate();
    }
    EXPECT_EQ(scenario.CurrentPlayerIndex, 1);
    Main::OnRender();
}

// Restores the signal handlers the test process had.
class TSavedSignals {
public:
    TSavedSignals() {
        sigaction(SIGINT, nullptr, &FInt);
        sigaction(SIGTERM, nullptr, &FTerm);
    }
    ~TSavedSignals() {
        sigaction(SIGINT, &FInt, nullptr);
        sigaction(SIGTERM, &FTerm, nullptr);
        Win32::TakeCloseSignal();
    }

private:
    struct sigaction FInt {};
    struct sigaction FTerm {};
};

void DispatchAll() {
    Win32::MSG msg;
    while (Win32::PeekMessage(&msg, nullptr, 0, 0, Win32::PM_REMOVE)) {
        Win32::TranslateMessage(&msg);
        Win32::DispatchMessage(&msg);
    }
}

TEST_F(RunningGame, SigtermClosesTheGameAndWritesItsSettings) {
    TSavedSignals saved;
    Win32::InstallCloseSignals();
    GameData::GameSettings.SFXVolume = 35;
    std::raise(SIGTERM);
    DispatchAll();
    EXPECT_FALSE(Win32::IsWindow(App.Window));
    EXPECT_EQ(Steps, ShutdownOrder);
    ExpectAllGone();
    const Main::TSettingsRead read = Main::ReadSettingsFile(Dir.File("vrn.ini"));
    EXPECT_EQ(read.Settings.SFXVolume, 35);
}

// A loading-screen task that asks for the end itself, as Ctrl+C would meanwhile.
void InterruptedTask() {
    std::raise(SIGINT);
}

TEST_F(RunningGame, CtrlCDuringTheLoadingScreenEndsTheWaitAndTheGame) {
    TSavedSignals saved;
    Win32::InstallCloseSignals();
    Main::LoadingScreen->RunTask(InterruptedTask);
    EXPECT_TRUE(App.Quit);
    DispatchAll();
    EXPECT_FALSE(Win32::IsWindow(App.Window));
    EXPECT_EQ(Steps, ShutdownOrder);
    EXPECT_TRUE(std::filesystem::exists(Dir.File("vrn.ini")));
}

TEST_F(RunningGame, TheWindowsCloseBoxClosesTheFullScreenGame) {
    ASSERT_TRUE(App.IsFullScreen());
    Win32::SendMessage(App.Window, Win32::WM_SYSCOMMAND, Win32::SC_CLOSE, 0);
    DispatchAll();
    EXPECT_FALSE(Win32::IsWindow(App.Window));
    EXPECT_EQ(Steps, ShutdownOrder);
}

TEST_F(RunningGame, AltF4ClosesTheFullScreenGame) {
    ASSERT_TRUE(App.IsFullScreen());
    constexpr uint32_t AltDown = 1u << 29;
    Win32::PostMessage(App.Window, Win32::WM_SYSKEYDOWN, Win32::VK_MENU,
                       Win32::LParamFromBits(AltDown | 1));
    Win32::PostMessage(App.Window, Win32::WM_SYSKEYDOWN, Win32::VK_F4,
                       Win32::LParamFromBits(AltDown | 1));
    DispatchAll();
    EXPECT_FALSE(Win32::IsWindow(App.Window));
    EXPECT_EQ(Steps, ShutdownOrder);
}

} // namespace
