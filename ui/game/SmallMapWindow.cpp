#include "ui/game/SmallMapWindow.h"

namespace Main {

TSmallMapWindow::TSmallMapWindow(DXWin::TDXWindowSystem* windowSystem)
    : TVRNWindow(windowSystem, 0, 0) {}

TSmallMapWindow::~TSmallMapWindow() = default;

void TSmallMapWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
}

} // namespace Main
