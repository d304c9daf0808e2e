#include "src/GameWindows.h"

#include "game/world/data/MainData.h"
#include "ui/widgets/VRNTooltip.h"

namespace Main {

std::unique_ptr<DXWin::TDXWindowSystem> WindowSystem;
FrontEnd::TLoadingScreen* LoadingScreen = nullptr;

void CreateGameWindows() {
    WindowSystem = std::make_unique<DXWin::TDXWindowSystem>();
    if (Data2::MainData)
        WindowSystem->SetDefaultCursor(Data2::MainData->Sprites[Data2::msPointerCursor]);
    WindowSystem->SetTooltip(std::make_unique<TVRNTooltip>());
    // The window system owns the windows that register with it.
    LoadingScreen = new FrontEnd::TLoadingScreen(WindowSystem.get());
}

void DestroyWindowSystem() {
    LoadingScreen = nullptr;
    WindowSystem.reset();
}

} // namespace Main
