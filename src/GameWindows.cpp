#include "src/GameWindows.h"

#include "game/world/data/MainData.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"
#include "ui/screens/CityWindow.h"
#include "ui/screens/CreaturePedia.h"
#include "ui/screens/FightDialog.h"
#include "ui/widgets/GameView.h"
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

void CreateGame() {
    auto game = std::make_unique<TGame>(WindowSystem.get());
    game->Init();
    // Every scenario the game loads plays with this machine's settings.
    game->Services().Settings = &GameData::GameSettings;
    TGame* const owner = game.get();
    // Removes itself from the window system when the game deletes it, which happens
    // before the window system goes.
    game->FightDialog = std::make_unique<TFightDialog>(WindowSystem.get(), *owner);
    game->TownWindow = std::make_unique<TCityWindow>(WindowSystem.get(), *owner);
    game->Screens.CreaturePedia = [owner](const GameData::TPlayer* viewer) {
        TCreaturePediaWindow book(owner->WindowSystem(), viewer, owner->Hotkeys());
        book.ShowModal(false);
    };
    Game = std::move(game);
    GameView = Game.get();
}

void DestroyGame() {
    GameView = nullptr;
    Game.reset();
}

void DestroyWindowSystem() {
    LoadingScreen = nullptr;
    WindowSystem.reset();
}

} // namespace Main
