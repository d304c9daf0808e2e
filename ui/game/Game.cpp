#include "ui/game/Game.h"

#include "engine/widgets/DXWindowSystem.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/ButtonWindow.h"
#include "ui/game/MapWindow.h"
#include "ui/game/SmallMapWindow.h"

#include <array>

namespace Main {

std::unique_ptr<TGame> Game;

namespace {

constexpr std::array<uint32_t, 5> PlayerColors = {0xC8C8C8, 0x0083E9, 0xD45C5C, 0x8CD27E, 0xD8E78B};

// Takes a screen back from the window system and deletes it.
template <typename TWindow>
void DeleteScreen(DXWin::TDXWindowSystem* system, TWindow*& window) {
    if (!window)
        return;
    if (system)
        system->Remove(window);
    std::unique_ptr<TWindow> owned(window);
    window = nullptr;
}

} // namespace

TGame::TGame(DXWin::TDXWindowSystem* windowSystem) : FWindowSystem(windowSystem) {}

TGame::~TGame() {
    Done();
    Transfer.Clear();
}

void TGame::Init() {
    SpellBeingTargeted = 0;
    Caster = 0;
    FMessages.clear();
    MessageLines = 4;
    MessageLineVisible = true;
    MessageScroll = 0;
    FHotkeys = MakeKeyTable();
    FMapWindow = new TMapWindow(FWindowSystem);
    FSmallMap = new TSmallMapWindow(FWindowSystem);
    FCommandBar = new TButtonWindow(FWindowSystem);
}

void TGame::Done() {
    DeleteScreen(FWindowSystem, FMapWindow);
    DeleteScreen(FWindowSystem, FSmallMap);
    DeleteScreen(FWindowSystem, FCommandBar);
    FMessages.clear();
    Scenario.reset();
}

uint32_t TGame::PlayerColor(int32_t playerIndex) {
    return playerIndex >= 0 && size_t(playerIndex) < PlayerColors.size()
               ? PlayerColors[size_t(playerIndex)]
               : 0;
}

uint32_t TGame::CurrentPlayerColor() const {
    return Scenario ? PlayerColor(Scenario->CurrentPlayerIndex) : 0;
}

} // namespace Main
