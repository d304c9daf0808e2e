#include "src/GameWindows.h"

#include "game/world/data/MainData.h"

namespace Main {

std::unique_ptr<DXWin::TDXWindowSystem> WindowSystem;
FrontEnd::TLoadingScreen* LoadingScreen = nullptr;

void CreateGameWindows() {
    WindowSystem = std::make_unique<DXWin::TDXWindowSystem>();
    if (Data2::MainData)
        WindowSystem->SetDefaultCursor(Data2::MainData->Sprites[Data2::msPointerCursor]);
    // The window system owns the windows that register with it.
    LoadingScreen = new FrontEnd::TLoadingScreen(WindowSystem.get());
}

void DestroyWindowSystem() {
    LoadingScreen = nullptr;
    WindowSystem.reset();
}

} // namespace Main
