#include "src/AppCallbacks.h"

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxSurfaces.h"
#include "game/world/data/GlobalData.h"
#include "game/world/data/MainData.h"
#include "platform/classlib/Exception.h"
#include "platform/display/D3DTypes.h"
#include "platform/win32/WinInput.h"
#include "platform/win32/WinMessages.h"
#include "src/GameWindows.h"
#include "ui/game/Game.h"

#include <algorithm>
#include <vector>

namespace Main {

using D3DFrame::D3DFramework;
using DXApp::Application;

namespace {

constexpr uint32_t ScreenshotEveryTicks = 4;
constexpr Win32::WPARAM KeyG = 'G';

// Toggled with Ctrl+G.
bool ContinuousScreenshots = false;

// The sprite libraries whose surface-only sprites are read again around display changes.
std::vector<Gfx::TSpriteList*> SpriteLibraries() {
    std::vector<Gfx::TSpriteList*> libraries;
    if (Data2::MainData)
        libraries.push_back(&Data2::MainData->SpriteLibrary);
    if (Data2::GlobalData) {
        Data2::TGlobalData& global = *Data2::GlobalData;
        for (Gfx::TSpriteList* library : {&global.CommonLibrary, &global.PictureLibrary,
                                          &global.CreatureLibrary, &global.SpellLibrary})
            libraries.push_back(library);
    }
    return libraries;
}

} // namespace

void OnUpdate() {
    if (Game)
        Game->Update();
    if (WindowSystem)
        WindowSystem->Tick();
    if (ContinuousScreenshots && Application->TickCount % ScreenshotEveryTicks == 0)
        Application->ScreenshotRequest = true;
}

void OnRender() {
    // No video player exists yet, so no video ever holds the screen.
    if (!D3DFramework || !D3DFramework->BackBuffer() || !D3DFramework->Device())
        return;
    Win32::IDirect3DDevice7& device = *D3DFramework->Device();
    device.BeginScene();
    D3DFramework->ClearBackBuffer();
    if (WindowSystem)
        WindowSystem->Draw(D3DFramework->BackBuffer());
    if (Game)
        Game->Draw(D3DFramework->BackBuffer());
    device.EndScene();
    D3DFramework->ShowFrame();
}

void OnReleaseSurfaces() {
    Gfx::ReleaseAllSurfaces();
    for (Gfx::TSpriteList* library : SpriteLibraries())
        library->ReleaseSurfaces();
    if (Game)
        Game->ReleaseSurfaces();
}

void OnRecreateSurfaces() {
    Gfx::RecreateAllSurfaces();
    for (Gfx::TSpriteList* library : SpriteLibraries())
        library->RecreateSurfaces();
    if (Game)
        Game->RecreateSurfaces();
}

void OnDeviceStates() {
    if (!D3DFramework || !D3DFramework->Device())
        return;
    // The screens are laid out for 800 x 600; a smaller mode gets a viewport that fits,
    // as the device refuses one larger than its target.
    const Win32::DDSURFACEDESC2& mode = D3DFramework->CurrentMode();
    D3DFramework->SetViewport(0, 0, std::min<int32_t>(800, int32_t(mode.dwWidth)),
                              std::min<int32_t>(600, int32_t(mode.dwHeight)));
    // Sprites are drawn from pre-transformed vertices: the device has no transforms.
    D3DFramework->SetAmbientLight(1.0f, 1.0f, 1.0f);
    Win32::IDirect3DDevice7& device = *D3DFramework->Device();
    device.SetTextureStageState(0, Win32::D3DTSS_COLORARG1, Win32::D3DTA_TEXTURE);
    device.SetTextureStageState(0, Win32::D3DTSS_MINFILTER, Win32::D3DTFN_POINT);
    device.SetTextureStageState(0, Win32::D3DTSS_MAGFILTER, Win32::D3DTFG_POINT);
    device.SetTextureStageState(0, Win32::D3DTSS_ADDRESS, Win32::D3DTADDRESS_CLAMP);
    device.SetRenderState(Win32::D3DRENDERSTATE_SHADEMODE, Win32::D3DSHADE_FLAT);
    device.SetRenderState(Win32::D3DRENDERSTATE_DITHERENABLE, 1);
}

void OnRestoreSurfaces() {
    try {
        Gfx::RestoreAllSurfaces();
        for (Gfx::TSpriteList* library : SpriteLibraries())
            library->RestoreSurfaces();
        if (Game)
            Game->RestoreSurfaces();
    } catch (const std::exception&) {
        Application->ShowError(ClassLib::Exception("Fatal error - program will now exit."));
        Application->Terminate();
    }
}

void OnInput(Win32::UINT message, Win32::WPARAM wParam, Win32::LPARAM lParam) {
    if ((message == Win32::WM_KEYDOWN || message == Win32::WM_SYSKEYDOWN) && wParam == KeyG &&
        Win32::GetKeyState(Win32::VK_CONTROL) < 0)
        ContinuousScreenshots = !ContinuousScreenshots;
    if (WindowSystem)
        WindowSystem->HandleMessage(message, wParam, lParam);
    if (Game)
        Game->HandleMessage(message);
}

// Only a playing video reacts to activation, and there is no video player yet.
void OnActivate() {}
void OnDeactivate() {}

} // namespace Main
