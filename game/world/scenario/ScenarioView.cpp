// The map view's position and its smooth scroll, one step per update.
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>

namespace GameData {

namespace {
// The panel on the right covers 230 pixels of the view.
constexpr int PanelWidth = 230;

int ClampTo(int value, int maximum) {
    return std::max(0, std::min(value, maximum));
}
} // namespace

void TScenario::ScrollViewTo(int x, int y, int steps) {
    if (steps <= 0) {
        SetViewPosition(x, y);
        return;
    }
    ScrollTargetLeft = ClampTo(x, Width * CellSize - View.Width + PanelWidth);
    ScrollTargetTop = ClampTo(y, Height * CellSize - View.Height);
    ScrollSteps = steps;
}

void TScenario::SetViewPosition(int x, int y) {
    View.Left = ScrollTargetLeft = ClampTo(x, Width * CellSize - View.Width + PanelWidth);
    View.Top = ScrollTargetTop = ClampTo(y, Height * CellSize - View.Height);
    ScrollSteps = 0;
}

void TScenario::StepViewScroll() {
    if (ScrollSteps <= 0)
        return;
    View.Left += (ScrollTargetLeft - View.Left) / ScrollSteps;
    View.Top += (ScrollTargetTop - View.Top) / ScrollSteps;
    --ScrollSteps;
}

} // namespace GameData
