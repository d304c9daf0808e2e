// The town window's mouse and keys: pressing and dragging units between the places,
// double clicks, the expand, leave and building buttons.
#include "ui/screens/CityWindow.h"

#include "game/world/cities/City.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"
#include "ui/screens/FaceControl.h"

#include <cstdlib>

namespace Main {

using namespace GameData;

namespace {

// A press becomes a drag once the mouse has moved further than this either way.
constexpr int DragThreshold = 5;
constexpr Win32::WPARAM EscapeKey = 27;

} // namespace

TFaceControl* TCityWindow::PanelControl(int panel) const {
    switch (panel) {
    case cpnGateGroup:
        return GateGroupPanel;
    case cpnDefenders:
        return DefendersPanel;
    case cpnOtherUnits:
        return OtherUnitsPanel;
    case cpnCivilians:
        return CiviliansPanel;
    default:
        return nullptr;
    }
}

bool TCityWindow::PanelUsable(int panel) const {
    const TFaceControl* control = PanelControl(panel);
    if (!control || !control->Visible() || !control->Enabled())
        return false;
    const DXWin::TDXGroup* container = control->Parent();
    return container == this || (container->Visible() && container->Enabled());
}

int TCityWindow::PanelAt(int x, int y, int& row, int& column) const {
    for (int panel = cpnGateGroup; panel <= cpnCivilians; ++panel) {
        if (!PanelUsable(panel))
            continue;
        const TFaceControl& control = *PanelControl(panel);
        const Win32::POINT local = control.ScreenToLocal({x, y});
        if (control.HitTest(local.x, local.y, row, column))
            return panel;
    }
    row = column = -1;
    return cpnNone;
}

TPlayer* TCityWindow::CommandingPlayer() const {
    // Until the last posted action has its result there is no slot for the next.
    return FScenario && !FScenario->IsBusy() ? LocalPlayer() : nullptr;
}

bool TCityWindow::OwnsTown() const {
    return FCity && FScenario && FCity->Owner == FScenario->CurrentPlayerIndex;
}

bool TCityWindow::MayPress(int panel, const TUnit& unit) const {
    switch (panel) {
    case cpnGateGroup:
        return true;
    case cpnDefenders:
        return OwnsTown();
    case cpnOtherUnits:
        return FCity->GetUnitPlayer(unit) == FScenario->CurrentPlayer;
    default:
        return false;
    }
}

void TCityWindow::PostMove(int32_t from, const TUnit& unit, int32_t to, int32_t row) {
    FCity->PostMoveUnit(uint32_t(from), unit.ID, uint32_t(to), row);
}

void TCityWindow::MouseDown(int button, DXWin::TShiftState shift, int x, int y) {
    TVRNWindow::MouseDown(button, shift, x, y);
    MouseX = x;
    MouseY = y;
    if (!FCity || !LocalPlayer())
        return;
    int row = -1, column = -1;
    const int panel = PanelAt(x, y, row, column);
    TUnit* unit = UnitAt(panel, row, column);
    if (!unit)
        return;
    if (button == DXWin::mbRight) {
        FGame.ShowUnitSheet(unit, x, y);
        return;
    }
    if (button != DXWin::mbLeft || !MayPress(panel, *unit))
        return;
    const TFaceControl& control = *PanelControl(panel);
    const Win32::RECT cell = control.CellRect(row - control.ScrollPosition(), column);
    const Win32::POINT corner = control.LocalToScreen({cell.left, cell.top});
    PressPending = true;
    Dragging = false;
    PressedUnit = unit;
    PressX = x;
    PressY = y;
    GrabX = x - corner.x;
    GrabY = y - corner.y;
    PressPanel = panel;
    if (panel == cpnGateGroup)
        SelectUnit(unit);
}

void TCityWindow::MouseMove(DXWin::TShiftState shift, int x, int y) {
    TVRNWindow::MouseMove(shift, x, y);
    MouseX = x;
    MouseY = y;
    if (PressPending && !Dragging &&
        (std::abs(x - PressX) > DragThreshold || std::abs(y - PressY) > DragThreshold))
        Dragging = true;
}

void TCityWindow::MouseUp(int button, DXWin::TShiftState shift, int x, int y) {
    TVRNWindow::MouseUp(button, shift, x, y);
    if (button != DXWin::mbLeft)
        return;
    if (Dragging && PressedUnit && FCity && CommandingPlayer())
        Drop(x, y);
    ClearPress();
}

void TCityWindow::Drop(int x, int y) {
    const TUnit& unit = *PressedUnit;
    const int from = PressPanel;
    const TGroup& gate = *FCity->GateGroup;
    int row = -1, column = -1;
    bool posted = false;
    switch (PanelAt(x, y, row, column)) {
    case cpnGateGroup:
        if ((from == cpnOtherUnits || from == cpnDefenders) && gate.CanAddUnit(unit) == gjAllowed) {
            const bool wasEmpty = gate.UnitCount() == 0;
            PostMove(from, unit, cpnGateGroup, -1);
            if (wasEmpty)
                SelectedUnit = PressedUnit;
        }
        break;
    case cpnDefenders:
        if (!OwnsTown() || from == cpnCivilians)
            break;
        if (from == cpnDefenders && FCity->FindDefenderRow(unit) == row)
            break;
        if (FCity->CanAddDefender(row, unit) == djAllowed) {
            PostMove(from, unit, cpnDefenders, row);
            posted = true;
        }
        break;
    case cpnOtherUnits:
        if (from == cpnGateGroup || from == cpnDefenders) {
            PostMove(from, unit, cpnOtherUnits, -1);
            posted = true;
        }
        break;
    default:
        break;
    }
    if (posted && from == cpnGateGroup)
        SelectOtherGateUnit(&unit);
}

void TCityWindow::DblClick(int button, DXWin::TShiftState shift, int x, int y) {
    // The window's own press, not a unit's: the first click of the pair started that.
    TVRNWindow::MouseDown(button, shift, x, y);
    MouseX = x;
    MouseY = y;
    if (button != DXWin::mbLeft || !FCity || !CommandingPlayer())
        return;
    ClearPress();
    int row = -1, column = -1;
    const int panel = PanelAt(x, y, row, column);
    TUnit* unit = UnitAt(panel, row, column);
    if (!unit)
        return;
    const TGroup& gate = *FCity->GateGroup;
    if (panel == cpnGateGroup && OpenMerchant == omNone) {
        PostMove(cpnGateGroup, *unit, cpnOtherUnits, -1);
        SelectOtherGateUnit(unit);
    } else if (panel == cpnOtherUnits && MayPress(panel, *unit) &&
               gate.CanAddUnit(*unit) == gjAllowed) {
        const bool wasEmpty = gate.UnitCount() == 0;
        PostMove(cpnOtherUnits, *unit, cpnGateGroup, -1);
        if (wasEmpty)
            SelectedUnit = unit;
    }
}

void TCityWindow::KeyDown(Win32::WPARAM& key, DXWin::TShiftState shift) {
    TVRNWindow::KeyDown(key, shift);
    if (key == EscapeKey)
        LeavePressed();
}

void TCityWindow::LeavePressed() {
    TPlayer* player = CommandingPlayer();
    if (!FCity || !player || PressPending || Dragging)
        return;
    if (OpenMerchant == omNone)
        player->PostAction(true, MakeAction(acLeaveCity));
    else
        CloseMerchant();
}

void TCityWindow::BuildingPressed(int building) {
    TPlayer* player = CommandingPlayer();
    if (!FCity || !player)
        return;
    if (FCity->GateGroup->UnitCount() == 0)
        SelectedUnit = nullptr;
    if (SelectedUnit)
        player->PostAction(true, MakeAction(acVisitMerchant, uint32_t(building)));
    else
        FGame.ShowMessage("Unit must be selected to enter");
}

} // namespace Main
