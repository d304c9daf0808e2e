#include "ui/game/ButtonWindow.h"

namespace Main {

TButtonWindow::TButtonWindow(DXWin::TDXWindowSystem* windowSystem)
    : TVRNWindow(windowSystem, 0, 0) {}

TButtonWindow::~TButtonWindow() = default;

void TButtonWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
}

void TButtonWindow::EndTurnClick() {}
void TButtonWindow::NextGroupClick() {}
void TButtonWindow::NextGroupWithAPsClick() {}
void TButtonWindow::DeployPackClick() {}
void TButtonWindow::DiaryClick() {}
void TButtonWindow::MainMenuClick() {}

} // namespace Main
