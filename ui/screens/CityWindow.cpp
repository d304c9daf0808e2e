// The town window: its controls, the town actions' handlers and the town view's layout.
#include "ui/screens/CityWindow.h"

#include "ui/game/Game.h"

namespace Main {

TCityWindow::TCityWindow(DXWin::TDXWindowSystem* windowSystem, TGame& game)
    : TVRNWindow(windowSystem, 0, 0), FGame(game) {
    SetSize(800, 600);
    CreateMerchantControls();
}

TCityWindow::~TCityWindow() {
    ReleaseSprites();
}

void TCityWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
}

void TCityWindow::EnterCity(GameData::TCity*, GameData::TGroup*) {}
void TCityWindow::LeaveCity() {}
bool TCityWindow::ApplyMoveUnit(int32_t, int32_t, int32_t, int32_t) {
    return false;
}
void TCityWindow::PaintBackdrop() {}
void TCityWindow::ArrangeBuildingButtons() {}
void TCityWindow::LayOutPanels() {}
void TCityWindow::SelectUnit(GameData::TUnit* unit) {
    SelectedUnit = unit;
}
GameData::TPlayer* TCityWindow::LocalPlayer() const {
    return nullptr;
}
GameData::TUnit* TCityWindow::UnitAt(int, int, int) const {
    return nullptr;
}
const GameData::TMerchant* TCityWindow::Building(int) const {
    return nullptr;
}
void TCityWindow::SelectOtherGateUnit(const GameData::TUnit*) {}

} // namespace Main
