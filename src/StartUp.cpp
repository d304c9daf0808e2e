#include "src/StartUp.h"

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/core/Archive.h"
#include "engine/core/Base.h"
#include "engine/core/Random.h"
#include "engine/sound/SoundStartup.h"
#include "src/DataSound.h"

#include <algorithm>
#include <cstdio>

namespace Main {

using D3DFrame::D3DFramework;
using DXApp::Application;

namespace {

constexpr uint32_t ApplicationOptions = DXApp::aoHideCursorWindowed | DXApp::aoFixedFrame;
constexpr uint32_t TicksPerSecond = 100;
constexpr uint32_t FrameworkFlags = D3DFrame::UseDirect3D | D3DFrame::DefaultModeRequired;

// The game draws for 16-bit displays of these sizes only.
bool AcceptDisplayMode(const Win32::DDSURFACEDESC2& mode) {
    const uint32_t width = mode.dwWidth, height = mode.dwHeight;
    return mode.ddpfPixelFormat.dwRGBBitCount == 16 &&
           ((width == 640 && height == 480) || (width == 800 && height == 600) ||
            (width == 1024 && height == 768));
}

} // namespace

void StartUp(const TStartOptions& options, TPlaceholderScreen& screen) {
    Base::InitBaseUnit();
    Base::InitRandomStates();
    std::printf("Varnholt: engine core started from %s\n", Base::ProgramPath.c_str());
    Application->Create(
        Win32::GetModuleHandle(nullptr), "Varnholt", "VRNWindow", ApplicationOptions,
        TicksPerSecond, OnDestroy, [&screen] { screen.Update(); }, [&screen] { screen.Render(); },
        nullptr, nullptr, nullptr, nullptr,
        [&screen](Win32::UINT message, Win32::WPARAM wParam, Win32::LPARAM lParam) {
            screen.Input(message, wParam, lParam);
        });
    D3DFramework = std::make_unique<D3DFrame::TD3DFramework>(
        Application->Window, Application->Title, FrameworkFlags, 800, 600, 16, AcceptDisplayMode);
    if (options.FullScreen)
        Application->SetFullscreen(-1, 50, 50, 800, 600);
    else // centred on the desktop, never above or left of it
        Application->SetWindowed(
            Win32::SW_SHOWNORMAL,
            std::max(0, (Win32::GetSystemMetrics(Win32::SM_CXSCREEN) - 800) / 2),
            std::max(0, (Win32::GetSystemMetrics(Win32::SM_CYSCREEN) - 600) / 2), 800, 600);

    StartSound(Application->Window);
    Data::ReadDataPath();
    if (DSFramework) {
        const ClassLib::AnsiString playing = StartFirstDataSound(*DSFramework);
        std::printf("Varnholt: sound started; %s\n",
                    playing.empty() ? "the data hold no sound" : ("playing " + playing).c_str());
    } else {
        std::printf("Varnholt: no sound device, running silently\n");
    }
    std::fflush(stdout);
}

void OnDestroy() {
    if (DSFramework)
        DSFramework->StopAll();
    D3DFramework.reset();
    StopSound();
}

} // namespace Main
