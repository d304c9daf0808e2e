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
#include "platform/classlib/Exception.h"
#include "platform/classlib/Files.h"
#include "platform/win32/Clock.h"
#include "src/AppCallbacks.h"
#include "src/CampaignStart.h"
#include "src/GameWindows.h"
#include "src/IntroVideos.h"
#include "ui/game/Game.h"

#include <algorithm>
#include <cstdio>

namespace Main {

using D3DFrame::D3DFramework;
using DXApp::Application;

bool SoundEnabled = false;
bool VideosEnabled = false;
bool FullscreenEnabled = false;

namespace {

// The window's close box, Alt+F4 and the signals that ask for the end close it in full
// screen too: the game runs full screen, and would otherwise never close at all.
constexpr uint32_t ApplicationOptions =
    DXApp::aoCloseInFullScreen | DXApp::aoHideCursorWindowed | DXApp::aoFixedFrame;
constexpr uint32_t TicksPerSecond = 100;
constexpr uint32_t FrameworkFlags = D3DFrame::UseDirect3D | D3DFrame::DefaultModeRequired;
constexpr uint32_t LastSleepMilliseconds = 500;

// The loading screen's task: touches no window and no surface. The data are handed to
// the global pointer on the main thread, so the callbacks never see them half made.
struct TGlobalDataLoad {
    std::unique_ptr<Data2::TGlobalData> Data;
    void Run() { Data = std::make_unique<Data2::TGlobalData>(); }
};

// --seconds: the window closes by itself once that much game time has passed after
// start-up.
void CloseAfter(int32_t milliseconds) {
    const int32_t end = Application->GameTime + milliseconds;
    Application->OnUpdate = [end] {
        OnUpdate();
        if (Application->GameTime >= end && !Application->Quit)
            Application->Terminate();
    };
}

// The error's message and, once the data folder is known, where it was looked for.
ClassLib::AnsiString StartUpError(const std::exception& error) {
    ClassLib::AnsiString text = ClassLib::ExceptionMessage(error);
    if (Data::DataPath.empty())
        return text;
    const ClassLib::AnsiString iniName = Base::ProgramPath + "data.ini";
    text += "\n\nData folder: " + Data::DataPath;
    text += ClassLib::FileExists(iniName) ? " (named by " + iniName + ")"
                                          : " (no data.ini in " + Base::ProgramPath + ")";
    return text;
}

} // namespace

bool AcceptDisplayMode(const Win32::DDSURFACEDESC2& mode) {
    const uint32_t width = mode.dwWidth, height = mode.dwHeight;
    return mode.ddpfPixelFormat.dwRGBBitCount == 16 &&
           ((width == 640 && height == 480) || (width == 800 && height == 600) ||
            (width == 1024 && height == 768));
}

void StartUp(const TStartOptions& options, std::function<void()> onDestroy) {
    SoundEnabled = true;
    VideosEnabled = true;
    FullscreenEnabled = true;

    Application->Create(Win32::GetModuleHandle(nullptr), "Varnholt", "VRNWindow",
                        ApplicationOptions, TicksPerSecond, std::move(onDestroy), OnUpdate,
                        OnRender, OnRestoreSurfaces, OnReleaseSurfaces, OnRecreateSurfaces,
                        OnDeviceStates, OnInput);
    Application->OnActivate = OnActivate;
    Application->OnDeactivate = OnDeactivate;

    D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
        Application->Window, Application->Title, FrameworkFlags, 800, 600, 16, AcceptDisplayMode);
    if (FullscreenEnabled)
        Application->SetFullscreen(-1, 50, 50, 800, 600);
    else // centred on the desktop, never above or left of it
        Application->SetWindowed(
            Win32::SW_SHOWNORMAL,
            std::max(0, (Win32::GetSystemMetrics(Win32::SM_CXSCREEN) - 800) / 2),
            std::max(0, (Win32::GetSystemMetrics(Win32::SM_CYSCREEN) - 600) / 2), 800, 600);
    if (SoundEnabled)
        StartSound(Application->Window);
    Data::ReadDataPath();
    Gfx::CalibrateRenderer();
    Data2::OpenDataArchives();
    Data2::CreateMainData();
    CreateGameWindows();
    if (VideosEnabled)
        PlayIntroVideos();

    TGlobalDataLoad load;
    LoadingScreen->RunMethodTask(&TGlobalDataLoad::Run, &load);
    Data2::GlobalData = std::move(load.Data);
    if (Application->Quit)
        return; // the window was closed while the data loaded
    // Surfaces are made here, on the main thread, now that the data are in.
    Data2::GlobalData->PrepareSurfaces();
    CreateGame();
    if (options.OnGameCreated)
        options.OnGameCreated(*Game);
    std::printf("Varnholt: data loaded from %s\n", Data::DataPath.c_str());
    std::fflush(stdout);

    // Where the main menu will follow, campaign level 1 starts at once. The time limit
    // counts from the level's start, so that a limited run also ends inside the
    // briefing, which keeps start-up in its own loop until it has rolled by.
    StartCampaignPlaceholder([&options] {
        std::printf("Varnholt: campaign level %d started\n", int(Game->Level));
        std::fflush(stdout);
        if (options.RunMilliseconds > 0)
            CloseAfter(options.RunMilliseconds);
    });
}

void OnDestroy(const TShutdownReport& report) {
    const auto done = [&report](const char* step) {
        if (report)
            report(step);
    };
    if (DSFramework) {
        DSFramework->StopAll();
        done("sound tracks stopped");
    }
    // Only a game object has read the settings; without one the file stays as it is.
    if (Game) {
        Game->WriteSettings();
        done("settings written");
    }
    DestroyGame();
    done("game");
    DestroyWindowSystem();
    done("window system");
    Data2::FreeGlobalData();
    done("global data");
    Data2::FreeMainData();
    done("main data");
    Data2::CloseDataArchives();
    done("archives");
    Gfx::DoneGraphics();
    D3DFramework.reset();
    done("Direct3D framework");
    StopSound();
    done("sound framework");
    Win32::Sleep(LastSleepMilliseconds);
    if (Application)
        Application->Window = nullptr;
}

int RunProgram(const TStartOptions& options) {
    bool shutDown = false;
    const auto onDestroy = [&shutDown, report = options.OnShutdownStep] {
        shutDown = true;
        OnDestroy(report);
    };
    int exitCode = 0;
    try {
        StartUp(options, onDestroy);
        exitCode = Application->RunMessageLoop();
        std::printf("Varnholt: window closed after %u updates\n", Application->TickCount);
    } catch (const std::exception& error) {
        if (Application->Title.empty())
            Application->Title = "Varnholt";
        // The terminal gets it too: a box may not be seen, or not be shown at all.
        const ClassLib::Exception report(StartUpError(error));
        std::fprintf(stderr, "Varnholt: error: %s\n", report.what());
        std::fflush(stderr);
        Application->ShowError(report);
        if (Win32::IsWindow(Application->Window))
            Win32::DestroyWindow(Application->Window);
        exitCode = 1;
    }
    // Without a window there was no destroy message to end what start-up began.
    if (!shutDown)
        OnDestroy(options.OnShutdownStep);
    return exitCode;
}

} // namespace Main
