#include "ui/game/MapWindow.h"

#include "game/world/scenario/Scenario.h"

namespace Main {

TMapWindow::TMapWindow(DXWin::TDXWindowSystem* windowSystem)
    : DXWin::TDXWindow(windowSystem, 0, 0) {}

TMapWindow::~TMapWindow() = default;

void TMapWindow::SetScenario(GameData::TScenario* scenario) {
    FScenario = scenario;
}

void TMapWindow::Invalidate() {}
void TMapWindow::ReleaseSurfaces() {}
void TMapWindow::RecreateSurfaces() {}
void TMapWindow::CenterOn(int32_t, int32_t, bool, int32_t) {}
void TMapWindow::HideMarker() {}

bool TMapWindow::IsOnScreen(int32_t x, int32_t y) const {
    return x >= ViewX() && x < ViewX() + ViewWidth && y >= ViewY() && y < ViewY() + ViewHeight;
}

void TMapWindow::SetView(int32_t x, int32_t y) {
    if (FScenario)
        FScenario->SetViewPosition(x, y);
}

int32_t TMapWindow::ViewX() const {
    return FScenario ? FScenario->View.Left : 0;
}

int32_t TMapWindow::ViewY() const {
    return FScenario ? FScenario->View.Top : 0;
}

} // namespace Main
