#include "ui/frontend/LoadingScreen.h"

#include "engine/app/D3DFramework.h"
#include "engine/app/DXApplication.h"
#include "engine/graphics/SpriteDrawing.h"
#include "game/world/data/MainData.h"
#include "platform/classlib/Exception.h"

namespace FrontEnd {

namespace {

constexpr uint32_t LoadingTicksPerSecond = 10; // the worker gets the processor
constexpr uint32_t PlayTicksPerSecond = 100;
constexpr int MaxTicksWithoutFrame = 3;

Gfx::TSprite* MainSprite(int index) {
    return Data2::MainData ? Data2::MainData->Sprites[index] : nullptr;
}

void SetTicksPerSecond(uint32_t ticks) {
    if (DXApp::Application)
        DXApp::Application->SetTicksPerSecond(ticks);
}

} // namespace

TLoadingScreen::TLoadingScreen(DXWin::TDXWindowSystem* windowSystem)
    : TDXWindow(windowSystem, DXWin::woModal, 0) {
    SetBoundsRect({0, 0, 800, 600});
    SetCursor(MainSprite(Data2::msPointerCursor));
    OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT&) {
        if (Gfx::TSprite* picture = MainSprite(Data2::msLoadingPicture))
            Gfx::DrawSprite(picture, target, 0, 0, 0, nullptr);
        FDrawn = true;
    };
    // The picture shows for at least a frame, unless nothing draws at all (no display,
    // or a frame that cannot be drawn): then a few ticks are waiting enough.
    OnTick = [this](DXWin::TDXControl*) {
        if (!FThread || FThread->IsRunning())
            return;
        if (FDrawn || !D3DFrame::D3DFramework || ++FTicksSinceDone >= MaxTicksWithoutFrame)
            Close();
    };
}

TLoadingScreen::~TLoadingScreen() = default; // a running task is stopped and waited for

void TLoadingScreen::RunTask(void (*function)()) {
    Run([function](Base::TActionThread& thread) { thread.SetAction(function); });
}

void TLoadingScreen::Run(const std::function<void(Base::TActionThread&)>& setAction) {
    FThread = std::make_unique<Base::TActionThread>();
    setAction(*FThread);
    FDrawn = false;
    FTicksSinceDone = 0;
    FThread->Start(0);
    SetTicksPerSecond(LoadingTicksPerSecond);
    try {
        ShowModal(false);
    } catch (...) {
        SetTicksPerSecond(PlayTicksPerSecond);
        FThread.reset();
        throw;
    }
    SetTicksPerSecond(PlayTicksPerSecond);
    // The loop also ends when the program is asked to quit: the task is waited for.
    FThread->Stop();
    const bool succeeded = FThread->Succeeded();
    const ClassLib::AnsiString error = FThread->ErrorText();
    FThread.reset();
    if (!succeeded)
        throw ClassLib::Exception(error);
}

} // namespace FrontEnd
